// SPDX-License-Identifier: GPL-3.0-or-later
// What the file layer does alike on every system.
#include "platform/files.h"

#include "platform/file_attempts.h"
#include "platform/staging_name.h"

#include <QDir>
#include <QRandomGenerator>

#include <cerrno>

namespace platform {

namespace {

const QByteArray kStagingPrefix = QByteArrayLiteral(".vokalindo-");
const QByteArray kStagingSuffix = QByteArrayLiteral(".tmp");
constexpr int kStagingLetters = 8;

thread_local bool t_refusedLink = false;
thread_local bool t_replacedMeanwhile = false;

} // namespace

void beginFileCall()
{
    t_refusedLink = false;
}

bool refuseLink()
{
    errno = ELOOP;
    t_refusedLink = true;
    return false;
}

bool lastFailureWasRefusedLink()
{
    return t_refusedLink;
}

void noteFileReplacedMeanwhile()
{
    t_replacedMeanwhile = true;
}

bool fileWasReplacedMeanwhile()
{
    return t_replacedMeanwhile;
}

void forgetFileReplacedMeanwhile()
{
    t_replacedMeanwhile = false;
}

bool writeWholeFileAtomically(const QString &path, const QByteArray &bytes, NewFileAccess access)
{
    return retried([&] { return writeWholeFileOnce(path, bytes, access); });
}

CreateResult createFileExclusively(const QString &path, const QByteArray &bytes)
{
    return retriedThroughShareStall([&] { return createFileOnce(path, bytes); },
                                    [](const CreateAttempt &attempt) {
                                        return attempt.result == CreateResult::Failed && attempt.nothingNamed;
                                    })
        .result;
}

bool appendToExistingFile(const QString &path, const QByteArray &bytes)
{
    return retriedThroughShareStall(
               [&] { return appendOnce(path, bytes); },
               [](const AppendAttempt &attempt) { return !attempt.appended && attempt.fileAsItWas; })
        .appended;
}

QByteArray stagingName()
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(kStagingLetters, '\0');
    for (char &letter : suffix)
        letter = kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
    return kStagingPrefix + suffix + kStagingSuffix;
}

bool isStagingFileName(const QString &name)
{
    return name.size() == kStagingPrefix.size() + kStagingLetters + kStagingSuffix.size()
           && name.startsWith(QLatin1String(kStagingPrefix)) && name.endsWith(QLatin1String(kStagingSuffix));
}

QString joinPath(const QString &directory, const QString &name)
{
    // Qt's own separator on every system: the Windows calls are given native paths further in.
    return directory + QLatin1Char('/') + name;
}

std::optional<QByteArray> readFileStart(const QString &path, qint64 maxBytes)
{
    return readFilePart(path, 0, maxBytes);
}

} // namespace platform
