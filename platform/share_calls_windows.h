// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/share_stall.h"

#include <QString>

#include <windows.h>

// The Windows calls of platform/files, done the way a school's server allows. Each reports its
// failure through errno as well, translated from the Windows error, so that the wait through a
// share's silence (platform/share_stall.h) and the trail are the same on both systems.
namespace platform {

// The errno that stands for a Windows error: a share that does not answer for a moment
// (ERROR_NETNAME_DELETED, ERROR_UNEXP_NET_ERR, ERROR_SEM_TIMEOUT) is EIO or ETIMEDOUT, one that is
// not there at all (ERROR_BAD_NETPATH) ENOTCONN, a file another computer has open EBUSY.
int errnoForWindowsError(DWORD error);

// Sets errno from GetLastError(), and gives `result` back.
template <typename T>
T failedWithLastError(T result)
{
    errno = errnoForWindowsError(::GetLastError());
    return result;
}

// The wide, native form of a path, as the W calls take it.
std::wstring nativeWidePath(const QString &path);

// Whether the Windows error means that another program has the file open in a way that excludes
// ours (a sharing or lock violation; a rename over a file open elsewhere says "access denied").
bool isSharingViolation(DWORD error);

// Calls `call` (a Windows call returning BOOL) again while it fails because another computer has the
// file open, for up to two seconds: a reader there is done within moments. errno is set on failure.
template <typename Call>
bool retriedWhileOpenElsewhere(Call call)
{
    constexpr int kAttempts = 100;
    for (int attempt = 1;; ++attempt) {
        if (call())
            return true;
        const DWORD error = ::GetLastError();
        if (!isSharingViolation(error) || attempt == kAttempts) {
            errno = errnoForWindowsError(error);
            return false;
        }
        ::Sleep(20);
    }
}

} // namespace platform
