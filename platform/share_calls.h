// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <sys/stat.h>
#include <sys/types.h>
#include <thread>

// Calls of platform/files done the way network shares allow. Each returns as the system call it
// stands for would: 0, or -1 with errno set.
namespace platform {

// Gives the file `from` the free name `to`, both in `directory`, on a share that has neither an
// exclusive rename nor hard links (SMB through libsmbclient): the name is claimed with
// O_CREAT|O_EXCL, which the server decides, and the file renamed over the claim. Until then the
// claim is an empty file; a maker killed in between leaves it so.
int claimAndRenameAt(int directory, const char *from, const char *to);

// renameat(2) over a file, waiting up to two seconds while a share refuses because another computer
// has the file open (smbnetfs says EEXIST, the kernel's SMB client EBUSY): a reader there is done
// within moments, and a list save should not fail for it.
int renameReplacingAt(int directory, const char *from, const char *to);

// unlinkat(2), waiting the same two seconds while a share refuses with EBUSY because another
// computer has the file open (SMB, where a file that is open cannot go), or, for a directory
// (AT_REMOVEDIR), with ENOTEMPTY while a file removed from it is still open there.
int unlinkWaitingAt(int directory, const char *name, int flags = 0);

// The file's size as its server has it now, not as this computer last saw it: an append through
// FUSE lands at the size the kernel holds, and another computer may have appended since.
off_t currentSize(int descriptor);

// fstatat(2) without following a link, asking the server rather than the cache: a FUSE share
// (sshfs, smbnetfs) keeps what it last saw of a file for a while, so that a file another computer
// has just made, grown or replaced looks as it was.
int currentStatusAt(int directory, const char *name, struct stat *status);

// How long a step keeps trying while a share does not answer, before the operation fails with
// its message: a school's server under Monday morning's load drops out for a moment. As long as a
// learner waits for another's turn at a file.
inline constexpr std::chrono::milliseconds kShareStallPatience{5000};

// Whether the error is what a share gives while its server does not answer for a moment: an I/O
// error (FUSE shares, CIFS) or a time-out.
inline bool isMomentaryShareError(int error)
{
    return error == EIO || error == ETIMEDOUT;
}

// Runs `attempt` again while `failed(result)` holds and errno is a momentary share error, for up
// to kShareStallPatience; errno is the last attempt's. Each attempt must leave nothing behind when
// it fails, so that it can simply be made again.
template <typename Attempt, typename Failed>
auto retriedThroughShareStall(Attempt attempt, Failed failed) -> decltype(attempt())
{
    const auto giveUp = std::chrono::steady_clock::now() + kShareStallPatience;
    for (std::chrono::milliseconds pause{20};; pause = std::min(pause * 2, std::chrono::milliseconds(200))) {
        errno = 0;
        auto result = attempt();
        const int error = errno;
        if (!failed(result) || !isMomentaryShareError(error) || std::chrono::steady_clock::now() + pause > giveUp)
            return result;
        std::this_thread::sleep_for(pause);
        errno = error;
    }
}

} // namespace platform
