// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/files.h"
#include "platform/share_stall.h"

#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>

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

// A share that replaces a file by removing the old one first (SMB through libsmbclient) leaves the
// name empty for a moment while another computer saves over it. A step that saw the file and then
// lost it notes so (errno stays ENOENT), and the attempt is made again a few times.
void noteFileReplacedMeanwhile();
bool fileWasReplacedMeanwhile();
void forgetFileReplacedMeanwhile();
inline constexpr int kReplacedMeanwhileAttempts = 5;

template <typename Attempt>
auto retried(Attempt attempt)
{
    for (int round = 1;; ++round) {
        forgetFileReplacedMeanwhile();
        auto result = retriedThroughShareStall(attempt, [](const auto &result) { return failed(result); });
        if (!failed(result) || !fileWasReplacedMeanwhile() || round == kReplacedMeanwhileAttempts)
            return result;
        // The other computer's rename is one round trip to the server away.
        const int error = errno;
        std::this_thread::sleep_for(std::chrono::milliseconds(10 * round));
        errno = error;
    }
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
