// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

enum class PathState {
    There,       // something of that name is there
    Missing,     // nothing of that name, or a part of the path is not a directory
    Unreachable, // the file system does not answer now (a network share: an I/O error, a timeout,
                 // the connection or the server gone); it may again in a moment
    Unknown,     // any other refusal (no permission, a name too long)
};

// What lstat says of the path.
PathState pathState(const QString &path);

} // namespace platform
