// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/path_walk.h"

#include <QByteArray>

#include <optional>
#include <sys/stat.h>

// Reaching a file one name at a time, so that a link another account planted cannot lead a write
// (or a read) anywhere else. A symbolic link is followed only when it belongs to this account or to
// root, whoever owns the directory that holds it and whatever its mode. (Linux's own
// fs.protected_symlinks also trusts the directory's owner, which is sound where that owner is root;
// in a class folder a classmate owns directories too.)
namespace platform {

// The directory that holds a path's last name, open for the *at calls, and that name.
class PlacedName {
public:
    PlacedName(int directory, QByteArray name, bool followedLink);
    ~PlacedName();
    PlacedName(PlacedName &&other) noexcept;
    PlacedName(const PlacedName &) = delete;
    PlacedName &operator=(const PlacedName &) = delete;
    PlacedName &operator=(PlacedName &&other) noexcept;

    int directory() const { return m_directory; }
    const char *name() const { return m_name.constData(); }
    // A symbolic link was followed on the way: a dangling one ends at a name that is not there.
    bool followedLink() const { return m_followedLink; }
    // Another account may add, rename or replace entries of the directory.
    bool othersMayWrite() const;
    // An entry here may be another account's doing: the directory is theirs, or they may write it.
    bool othersMayHavePlacedEntries() const;
    // The entry under the name, as it is now, not followed if it is a link; nothing if there is none.
    std::optional<struct stat> entry() const;

private:
    int m_directory = -1;
    QByteArray m_name;
    bool m_followedLink = false;
    struct stat m_directoryStatus {};
};

// Walks the path. Nothing when a directory on the way is missing, or a link is refused; a missing
// last name is the caller's to create.
std::optional<PlacedName> placeName(const QByteArray &path, LastName last);
PlaceFailure lastPlaceFailure();

// Whether a directory with this status lets other accounts add or replace its entries.
bool othersMayWriteIn(const struct stat &directoryStatus);
// Whether its entries may be another account's: it belongs to neither this account nor root, or
// others may write it.
bool othersMayHavePlacedEntriesIn(const struct stat &directoryStatus);

} // namespace platform
