// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <optional>
#include <sys/stat.h>

// Reaching a file one name at a time, so that a link another account planted in a folder it may
// write cannot lead a write (or a read) out of that folder. A symbolic link found in a directory
// whose group or others may write is followed only when it belongs to this account or to the
// directory's owner, the rule Linux applies in sticky world-writable directories
// (fs.protected_symlinks), here in every directory that other accounts can write.
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
    // The entry under the name, as it is now, not followed if it is a link; nothing if there is none.
    std::optional<struct stat> entry() const;

private:
    int m_directory = -1;
    QByteArray m_name;
    bool m_followedLink = false;
    struct stat m_directoryStatus {};
};

enum class LastName {
    AsItIs,        // the last name is the caller's, even if it is a link
    FollowTrusted, // a link in its place is followed, by the rule above
};

// Why the last placeName() of this thread gave nothing.
enum class PlaceFailure {
    None,
    Unreachable,   // a directory on the way is missing, not a directory, or cannot be opened
    UntrustedLink, // a link on the way belongs to someone the rule does not trust
};

// Walks the path. Nothing when a directory on the way is missing, or a link is refused; a missing
// last name is the caller's to create.
std::optional<PlacedName> placeName(const QByteArray &path, LastName last);
PlaceFailure lastPlaceFailure();

// Whether a directory with this status lets other accounts add or replace its entries.
bool othersMayWriteIn(const struct stat &directoryStatus);

} // namespace platform
