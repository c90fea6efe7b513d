// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The program's command line: --directory, --help and --version, with Hungarian texts.
struct CommandLineRequest {
    // Whether the window is to be started; otherwise the program prints and ends with exitStatus.
    bool start = true;
    // The start directory asked for; empty when the program starts where it was started.
    QString directory;
    QString standardOutput;
    QString standardError;
    int exitStatus = 0;
};

// Reads the arguments, the program's name first. Qt's own options (-platform, -style, -session, ...)
// are left for QApplication, which takes them when it is made. Qt's own texts of the parser ("Használat:",
// the parse errors) are Hungarian when Qt's Hungarian translations are installed.
CommandLineRequest readCommandLine(const QStringList &arguments);

// Reads the command line of main() before any window exists, so --help and --version need no
// display; Qt's Hungarian translations are loaded for the moment of reading.
CommandLineRequest readProgramArguments(int argc, char *argv[]);

// Whether the arguments choose Qt's platform plugin themselves (-platform NAME), which then decides
// whether a desktop is needed.
bool choosesQtPlatform(int argc, char *argv[]);

// What the program says on the standard error, in Hungarian and in English, when it is started
// where no window can be shown.
QString noGraphicalDesktopText();

// Makes the directory the working directory. Nothing on success; otherwise the message for the
// learner, naming the directory.
std::optional<QString> enterStartDirectory(const QString &directory);
