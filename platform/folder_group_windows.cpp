// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folder_group.h"

namespace platform {

// What is made in a Windows folder inherits the folder's access list, the class's group included:
// nothing to open.
void openNewFilesToTheFoldersGroup(const QString &) {}

} // namespace platform
