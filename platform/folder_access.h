// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace platform {

// Who may do what with an entry of a class folder, for judging how the folder is set up. The entry
// itself: a link is described, not followed.
struct EntryAccess {
    bool directory = false;
    bool link = false;
    bool ownedByThisAccount = false;
    bool ownedByRoot = false;
    unsigned ownerId = 0;
    unsigned groupId = 0;
    QString owner;     // the account's name, or its number
    QString group;     // the group's name, or its number
    unsigned mode = 0; // the set-group-ID and sticky bits and the permission bits
};

// Nothing when the entry is not there or cannot be looked at, and on Windows, which keeps access in
// lists rather than mode bits: there the installer sets the class folder up.
std::optional<EntryAccess> entryAccess(const QString &path);

} // namespace platform
