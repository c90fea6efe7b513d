// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the command-line programs say on the standard error, in one shape for all of them:
// "program: message", and after a mistake in the command line a pointer to --help and exit status 2.
namespace commandline {

// The exit status of a command line that cannot be carried out as written.
inline constexpr int kUsageStatus = 2;

// "program: message" and a line end.
QString messageLine(const QString &program, const QString &message);
// The message line, then "A kapcsolók leírása: program --help".
QString usageMistakeText(const QString &program, const QString &message);

// The message line on the standard error, named by the program's application name.
void say(const QString &message);
// usageMistakeText on the standard error; kUsageStatus, to be returned from main().
int refuseUsage(const QString &message);

// Whether a file was being read or written, for naming why it failed.
enum class FileUse { Reading, Writing };

// Why a file call failed, in a few Hungarian words to stand after the path ("nincs ilyen fájl",
// "nincs hozzá jogosultság", "ez egy mappa", ...): from the system's error number, and from whether
// the file layer refused a link of another account (platform::lastFailureWasRefusedLink()).
QString fileFailureReason(int error, bool refusedLink, FileUse use);
// The same for the last call of platform/files.h of this thread: to be called straight after it,
// before anything else can change errno.
QString lastFileFailureReason(FileUse use);

} // namespace commandline
