// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

// In a folder that a class's group shares (one with the set-group-ID bit, which gives whatever is
// made inside the folder's group), what the program makes must be writable by that group too: the
// group part of the umask is cleared. Elsewhere the umask stays as it is.
void openNewFilesToTheFoldersGroup(const QString &directory);

} // namespace platform
