// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one rule for links, on every system: a link (on Windows any reparse point) is followed only
// when it belongs to this account or to the system's administrator (root), whoever owns the folder
// that holds it. Each system walks a path by it in its own way: platform/path_walk_posix.h,
// platform/path_walk_windows.h.
namespace platform {

enum class LastName {
    AsItIs,        // the last name is the caller's, even if it is a link
    FollowTrusted, // a link in its place is followed, by the rule
};

// Why the last walk of this thread gave nothing.
enum class PlaceFailure {
    None,
    Unreachable,   // a folder on the way is missing, not a folder, or cannot be opened
    UntrustedLink, // a link on the way belongs to another account
};

} // namespace platform
