// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/share_calls.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
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

int renameReplacingAt(int directory, const char *from, const char *to)
{
    constexpr int kAttempts = 40;
    for (int attempt = 1;; ++attempt) {
        if (::renameat(directory, from, directory, to) == 0)
            return 0;
        if ((errno != EEXIST && errno != EBUSY) || attempt == kAttempts)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

off_t currentSize(int descriptor)
{
    struct statx status {};
    if (::statx(descriptor, "", AT_EMPTY_PATH | AT_STATX_FORCE_SYNC, STATX_SIZE, &status) == 0)
        return off_t(status.stx_size);
    return ::lseek(descriptor, 0, SEEK_END);
}

} // namespace platform
