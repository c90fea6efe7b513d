// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line_messages.h"

#include "platform/console_text.h"
#include "platform/files.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace commandline {

QString messageLine(const QString &program, const QString &message)
{
    return program + QStringLiteral(": ") + message + QLatin1Char('\n');
}

QString usageMistakeText(const QString &program, const QString &message)
{
    return messageLine(program, message) + QStringLiteral("A kapcsolók leírása: ") + program
           + QStringLiteral(" --help\n");
}

void say(const QString &message)
{
    platform::writeText(stderr, messageLine(QCoreApplication::applicationName(), message));
}

int refuseUsage(const QString &message)
{
    platform::writeText(stderr, usageMistakeText(QCoreApplication::applicationName(), message));
    return kUsageStatus;
}

QString fileFailureReason(int error, bool refusedLink, FileUse use)
{
    if (refusedLink)
        return QStringLiteral("az útja egy másik felhasználó hivatkozásán át vezet");
    switch (error) {
    case ENOENT:
        return use == FileUse::Reading ? QStringLiteral("nincs ilyen fájl") : QStringLiteral("nincs ilyen mappa");
    case ENOTDIR:
        return QStringLiteral("az útvonal egyik tagja nem mappa");
    case EACCES:
    case EPERM:
        return QStringLiteral("nincs hozzá jogosultság");
    case EISDIR:
        return QStringLiteral("ez egy mappa");
    case EINVAL:
        // The file layer's word for an entry that is not a regular file; a write also gets it for a
        // name that the file system does not take.
        return use == FileUse::Reading ? QStringLiteral("nem közönséges fájl")
                                       : QStringLiteral("nem közönséges fájl, vagy a fájlrendszer nem fogad el "
                                                        "ilyen nevet");
    case ENOSPC:
        return QStringLiteral("betelt a lemez");
#ifdef EDQUOT // Windows tells a full quota as a full disk
    case EDQUOT:
        return QStringLiteral("elfogyott a felhasználó tárhelykerete");
#endif
    case EROFS:
        return QStringLiteral("csak olvasható fájlrendszer");
    case ENAMETOOLONG:
        return QStringLiteral("túl hosszú a név");
    case ELOOP:
        return QStringLiteral("túl sok hivatkozás követi egymást");
    case EIO:
        return QStringLiteral("az eszköz írási vagy olvasási hibát jelzett");
    case 0:
        return QStringLiteral("ismeretlen ok");
    default:
        return QStringLiteral("rendszerhiba: %1").arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

QString lastFileFailureReason(FileUse use)
{
    const int error = errno;
    return fileFailureReason(error, platform::lastFailureWasRefusedLink(), use);
}

} // namespace commandline
