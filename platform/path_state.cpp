// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/path_state.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>

namespace platform {

PathState pathState(const QString &path)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) == 0)
        return PathState::There;
    switch (errno) {
    case ENOENT:
    case ENOTDIR:
        return PathState::Missing;
    case EIO:
    case ETIMEDOUT:
    case ENOTCONN:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ENETUNREACH:
    case ECONNABORTED:
    case ECONNRESET:
    case ECONNREFUSED:
    case ESTALE:
        return PathState::Unreachable;
    default:
        return PathState::Unknown;
    }
}

} // namespace platform
