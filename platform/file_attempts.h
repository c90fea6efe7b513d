// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/files.h"
#include "platform/share_stall.h"

#include <optional>

// What each system's file layer does once, and what platform/files does with it alike on every
// system: the record of a refused link, and each step made again while a share does not answer for
// a moment.
namespace platform {

// Every public call starts with a clean record of why it failed.
void beginFileCall();
// Records that a link someone else may have planted was refused (errno ELOOP); false.
bool refuseLink();

// Made again while a share does not answer for a moment (retriedThroughShareStall) for as long as
// the attempt fails: false, or nothing. Only for steps that change nothing when they fail.
inline bool failed(bool succeeded)
{
    return !succeeded;
}
template <typename T>
bool failed(const std::optional<T> &result)
{
    return !result;
}
template <typename Attempt>
auto retried(Attempt attempt)
{
    return retriedThroughShareStall(attempt, [](const auto &result) { return failed(result); });
}

// One attempt at a whole-file write: a failed one leaves the file as it was (its staged copy
// removed).
bool writeWholeFileOnce(const QString &path, const QByteArray &bytes, NewFileAccess access);

// One attempt at an exclusive creation, and whether it failed before giving the name: only then can
// it be made again, since a name given despite an error would look like another's on a second try.
struct CreateAttempt {
    CreateResult result;
    bool nothingNamed;
};
CreateAttempt createFileOnce(const QString &path, const QByteArray &bytes);

// One attempt at an append, and whether the file is as it was after a failed one (nothing written,
// or cut back and synced): only then can it be made again.
struct AppendAttempt {
    bool appended;
    bool fileAsItWas;
};
AppendAttempt appendOnce(const QString &path, const QByteArray &bytes);

} // namespace platform
