// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/path_state.h"

#include "platform/share_calls_windows.h"

#include <windows.h>

namespace platform {

namespace {

PathState stateFor(DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
        return PathState::NotPermitted;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_DIRECTORY:
        return PathState::Missing;
    // The school's server or its share does not answer now.
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_SEM_TIMEOUT:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_HOST_UNREACHABLE:
    case ERROR_NO_NETWORK:
    case ERROR_CONNECTION_ABORTED:
    case ERROR_NETWORK_BUSY:
    case ERROR_DEV_NOT_EXIST:
        return PathState::Unreachable;
    default:
        return PathState::Unknown;
    }
}

} // namespace

PathState pathState(const QString &path)
{
    const std::wstring native = nativeWidePath(path);
    const DWORD attributes = ::GetFileAttributesW(native.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return stateFor(::GetLastError());
    // Whether this account may read what is there: a folder is asked for its listing.
    const DWORD access = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FILE_LIST_DIRECTORY : FILE_READ_DATA;
    const HANDLE opened = ::CreateFileW(native.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened != INVALID_HANDLE_VALUE) {
        ::CloseHandle(opened);
        return PathState::There;
    }
    return ::GetLastError() == ERROR_ACCESS_DENIED ? PathState::NotPermitted : PathState::There;
}

} // namespace platform
