// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

enum class PathState {
    There,        // something of that name is there
    Missing,      // nothing of that name, or a part of the path is not a directory
    Unreachable,  // the file system does not answer now (a network share: an I/O error, a timeout,
                  // the connection or the server gone); it may again in a moment
    NotPermitted, // this account may not reach it or read it (in a class folder: not in its group)
    Unknown,      // any other refusal (a name too long)
};

// What lstat says of the path, and whether this account may read what is there.
PathState pathState(const QString &path);

} // namespace platform
