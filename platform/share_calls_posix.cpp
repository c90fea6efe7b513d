// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/share_calls_posix.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

namespace platform {

int claimAndRenameAt(int directory, const char *from, const char *to)
{
    const int claim = ::openat(directory, to, O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
    if (claim < 0)
        return -1;
    ::close(claim);
    if (renameReplacingAt(directory, from, to) == 0)
        return 0;
    const int error = errno;
    ::unlinkat(directory, to, 0);
    errno = error;
    return -1;
}

namespace {

// Calls `call` again while it fails with one of the errors that mean "open on another computer",
// for up to two seconds.
template <typename Call>
int retriedWhileBusy(Call call, int busy, int alsoBusy)
{
    constexpr int kAttempts = 100;
    for (int attempt = 1;; ++attempt) {
        if (call() == 0)
            return 0;
        if ((errno != busy && errno != alsoBusy) || attempt == kAttempts)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace

int renameReplacingAt(int directory, const char *from, const char *to)
{
    return retriedWhileBusy([&] { return ::renameat(directory, from, directory, to); }, EEXIST, EBUSY);
}

int unlinkWaitingAt(int directory, const char *name, int flags)
{
    const int alsoBusy = (flags & AT_REMOVEDIR) != 0 ? ENOTEMPTY : EBUSY;
    return retriedWhileBusy([&] { return ::unlinkat(directory, name, flags); }, EBUSY, alsoBusy);
}

off_t currentSize(int descriptor)
{
    struct statx status {};
    if (::statx(descriptor, "", AT_EMPTY_PATH | AT_STATX_FORCE_SYNC, STATX_SIZE, &status) == 0)
        return off_t(status.stx_size);
    return ::lseek(descriptor, 0, SEEK_END);
}

int currentStatusAt(int directory, const char *name, struct stat *status)
{
    struct statx now {};
    if (::statx(directory, name, AT_SYMLINK_NOFOLLOW | AT_STATX_FORCE_SYNC, STATX_BASIC_STATS, &now) != 0)
        return errno == ENOSYS ? ::fstatat(directory, name, status, AT_SYMLINK_NOFOLLOW) : -1;
    *status = {};
    status->st_dev = makedev(now.stx_dev_major, now.stx_dev_minor);
    status->st_ino = now.stx_ino;
    status->st_mode = now.stx_mode;
    status->st_nlink = now.stx_nlink;
    status->st_uid = now.stx_uid;
    status->st_gid = now.stx_gid;
    status->st_rdev = makedev(now.stx_rdev_major, now.stx_rdev_minor);
    status->st_size = off_t(now.stx_size);
    status->st_blksize = blksize_t(now.stx_blksize);
    status->st_blocks = blkcnt_t(now.stx_blocks);
    status->st_atim = {now.stx_atime.tv_sec, now.stx_atime.tv_nsec};
    status->st_mtim = {now.stx_mtime.tv_sec, now.stx_mtime.tv_nsec};
    status->st_ctim = {now.stx_ctime.tv_sec, now.stx_ctime.tv_nsec};
    return 0;
}

} // namespace platform
