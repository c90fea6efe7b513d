// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/path_state.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

PathState pathState(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::lstat(name.constData(), &status) == 0) {
        const bool refused = ::faccessat(AT_FDCWD, name.constData(), R_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0
                             && (errno == EACCES || errno == EPERM);
        return refused ? PathState::NotPermitted : PathState::There;
    }
    switch (errno) {
    case EACCES:
    case EPERM:
        return PathState::NotPermitted;
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
