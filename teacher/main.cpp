// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_font.h"
#include "app/program_icon.h"
#include "app/translations.h"
#include "platform/computer_settings.h"
#include "platform/console_text.h"
#include "platform/files.h"
#include "platform/graphical_desktop.h"
#include "teacher/teacher_command_line.h"
#include "teacher/teacher_dialogs.h"
#include "teacher/teacher_window.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    const TeacherRequest request = readTeacherArguments(arguments);
    if (!request.start) {
        platform::writeText(stdout, request.standardOutput);
        platform::writeText(stderr, request.standardError);
        return request.exitStatus;
    }
    const QString settingsFile = platform::classFolderSettingsFile();
    const QByteArray settings =
        settingsFile.isEmpty() ? QByteArray() : platform::readFileStart(settingsFile, 64 * 1024).value_or(QByteArray());
    const QString folder = folderToOpen(request, settings, QDir::currentPath());
    if (!platform::graphicalDesktopReachable() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && !arguments.contains(QStringLiteral("-platform"))) {
        platform::writeText(stderr, QStringLiteral("vokalindo-tanar: nincs grafikus felület (a DISPLAY és a "
                                                   "WAYLAND_DISPLAY üres): a tanári ablak csak asztali "
                                                   "munkamenetben nyílik meg.\n"));
        return 1;
    }

    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vokalindo-tanar"));
    QGuiApplication::setDesktopFileName(QStringLiteral("hu.vokalindo.tanar"));
    QApplication::setWindowIcon(programIcon());
    addBuiltInFonts();
    installQtHungarianTranslations(application);

    ShownTeacherDialogs dialogs;
    TeacherWindow window(dialogs);
    window.openFolder(folder);
    window.show();
    return QApplication::exec();
}
