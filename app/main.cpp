// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/program_font.h"
#include "app/program_icon.h"
#include "app/start_directory_setting.h"
#include "app/translations.h"
#include "app/window_texts.h"
#include "platform/clock.h"
#include "platform/computer_settings.h"
#include "platform/console_text.h"
#include "platform/files.h"
#include "platform/folder_group.h"
#include "platform/graphical_desktop.h"
#include "platform/qt_dialogs.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Without arguments nothing is read: the window's start-up pays nothing for the command line.
    QString startDirectory;
    if (argc > 1) {
        const CommandLineRequest request = readProgramArguments(argc, argv);
        if (!request.start) {
            platform::writeText(stdout, request.standardOutput);
            platform::writeText(stderr, request.standardError);
            return request.exitStatus;
        }
        startDirectory = request.directory;
    } else if (const std::optional<QString> settings = platform::computerSettingsFile()) {
        // Where the computer's setting names the class folder (Windows, from the installer), the
        // program starts there, as Linux's launcher starts it in the folder /etc names.
        if (const std::optional<QByteArray> text = platform::readFileStart(*settings, 64 * 1024))
            startDirectory = configuredStartDirectory(*text).value_or(QString());
    }
    // Said before Qt starts, which would end the program with an abort of its own.
    if (!platform::graphicalDesktopReachable() && !choosesQtPlatform(argc, argv)) {
        platform::writeText(stderr, noGraphicalDesktopText());
        return 1;
    }

    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("hu.vokalindo.vokalindo"));
    // The message boxes too, also one shown before the window.
    QApplication::setWindowIcon(programIcon());
    // Fusion draws a button's face colour, which EXIT relies on.
    QApplication::setStyle(QStringLiteral("Fusion"));
    addBuiltInFonts();
    QApplication::setFont(programFont());
    installQtHungarianTranslations(application);

    platform::QtDialogs dialogs(kProgramTitle);
    if (!startDirectory.isEmpty()) {
        if (const std::optional<QString> failure = enterStartDirectory(startDirectory)) {
            dialogs.message(*failure);
            return 1;
        }
    }
    platform::openNewFilesToTheFoldersGroup(QDir::currentPath());
    platform::SystemClock clock;
    // Seeded once: every draw of the program's life comes from this one stream.
    platform::ClockSeededRandom random(clock);
    Form1 window(QDir::currentPath(), dialogs, random, clock);
    dialogs.setParentWindow(&window);
    if (!window.Form_Load())
        return 1;
    window.show();
    return QApplication::exec();
}
