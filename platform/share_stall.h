// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

// A share's moment of silence, waited out. Each system's file layer reports its errors through
// errno, so that this is the same on every system.
namespace platform {

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
