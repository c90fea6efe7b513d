// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/path_walk.h"

#include <QString>

#include <optional>
#include <string>

// Reaching a file so that a link another account planted cannot lead a write (or a read) anywhere
// else. On Windows every reparse point counts as a link (a symbolic link, a junction, a mount
// point): one is followed only when it belongs to this account, to the system or to the
// administrators (Windows' root), whoever owns the folder that holds it. Windows has no calls
// relative to an open folder, so each name on the way is looked at before the call that uses the
// path.
namespace platform {

// The path, absolute and in the native wide form, when every name on the way passes the rule;
// nothing otherwise (errno set, and lastPlaceFailure() says why). A missing last name is the
// caller's to create.
std::optional<std::wstring> walkedPath(const QString &path, LastName last);
PlaceFailure lastPlaceFailure();

// The entry's own owner (a reparse point is not followed): this account, or nothing when it cannot
// be read.
std::optional<bool> ownedByThisAccount(const std::wstring &path);
// Whether the entry's own owner is this account, the system or the administrators.
bool ownedByTrustedAccount(const std::wstring &path);
// Whether the two entries have one owner (each read without following a reparse point).
bool haveOneOwner(const std::wstring &path, const std::wstring &other);

} // namespace platform
