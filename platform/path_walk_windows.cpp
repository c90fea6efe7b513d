// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/path_walk_windows.h"

#include "platform/share_calls_windows.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <vector>

#include <aclapi.h>
#include <windows.h>

namespace platform {

namespace {

thread_local PlaceFailure t_lastFailure = PlaceFailure::None;

std::optional<std::wstring> fail(PlaceFailure failure, int error)
{
    t_lastFailure = failure;
    errno = error;
    return std::nullopt;
}

// This account's security identifier, read once from the process's token.
const std::vector<BYTE> &thisAccount()
{
    static const std::vector<BYTE> account = [] {
        std::vector<BYTE> sid;
        HANDLE token = nullptr;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
            return sid;
        DWORD size = 0;
        ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        std::vector<BYTE> buffer(size);
        if (size > 0 && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
            const PSID user = reinterpret_cast<TOKEN_USER *>(buffer.data())->User.Sid;
            sid.assign(static_cast<BYTE *>(user), static_cast<BYTE *>(user) + ::GetLengthSid(user));
        }
        ::CloseHandle(token);
        return sid;
    }();
    return account;
}

// The security identifier of the entry's own owner: it is opened without following a reparse point.
std::vector<BYTE> ownerSidOf(const std::wstring &path)
{
    std::vector<BYTE> sid;
    const HANDLE entry =
        ::CreateFileW(path.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (entry == INVALID_HANDLE_VALUE)
        return sid;
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetSecurityInfo(entry, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                          &descriptor)
            == ERROR_SUCCESS
        && owner && ::IsValidSid(owner))
        sid.assign(static_cast<BYTE *>(owner), static_cast<BYTE *>(owner) + ::GetLengthSid(owner));
    if (descriptor)
        ::LocalFree(descriptor);
    ::CloseHandle(entry);
    return sid;
}

enum class Owner { ThisAccount, System, Other, Unknown };

Owner ownerOf(const std::wstring &path)
{
    std::vector<BYTE> owner = ownerSidOf(path);
    if (owner.empty())
        return Owner::Unknown;
    const std::vector<BYTE> &account = thisAccount();
    if (owner == account)
        return Owner::ThisAccount;
    if (::IsWellKnownSid(PSID(owner.data()), WinLocalSystemSid)
        || ::IsWellKnownSid(PSID(owner.data()), WinBuiltinAdministratorsSid))
        return Owner::System;
    return Owner::Other;
}

// The first part of an absolute native path that names no entry of its own: "C:\" or
// "\\server\share\".
qsizetype rootLength(const std::wstring &path)
{
    if (path.rfind(L"\\\\", 0) == 0) {
        const size_t server = path.find(L'\\', 2);
        const size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
        return share == std::wstring::npos ? qsizetype(path.size()) : qsizetype(share + 1);
    }
    return path.size() >= 3 && path[1] == L':' ? 3 : 0;
}

} // namespace

std::optional<std::wstring> walkedPath(const QString &path, LastName last)
{
    t_lastFailure = PlaceFailure::None;
    if (path.isEmpty())
        return fail(PlaceFailure::Unreachable, ENOENT);
    const std::wstring native = nativeWidePath(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    const qsizetype root = rootLength(native);
    for (size_t end = size_t(root); end < native.size();) {
        size_t next = native.find(L'\\', end);
        const bool isLast = next == std::wstring::npos;
        if (isLast)
            next = native.size();
        const std::wstring prefix = native.substr(0, next);
        end = next + 1;
        const DWORD attributes = ::GetFileAttributesW(prefix.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = ::GetLastError();
            // A missing last name is the caller's to make.
            if (isLast && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND))
                return native;
            return fail(PlaceFailure::Unreachable, errnoForWindowsError(error));
        }
        if (!isLast && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return fail(PlaceFailure::Unreachable, ENOTDIR);
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 || (isLast && last == LastName::AsItIs))
            continue;
        const Owner owner = ownerOf(prefix);
        if (owner != Owner::ThisAccount && owner != Owner::System)
            return fail(PlaceFailure::UntrustedLink, ELOOP);
    }
    return native;
}

PlaceFailure lastPlaceFailure()
{
    return t_lastFailure;
}

std::optional<bool> ownedByThisAccount(const std::wstring &path)
{
    const Owner owner = ownerOf(path);
    if (owner == Owner::Unknown)
        return std::nullopt;
    return owner == Owner::ThisAccount;
}

bool ownedByTrustedAccount(const std::wstring &path)
{
    const Owner owner = ownerOf(path);
    return owner == Owner::ThisAccount || owner == Owner::System;
}

bool haveOneOwner(const std::wstring &path, const std::wstring &other)
{
    const std::vector<BYTE> owner = ownerSidOf(path);
    return !owner.empty() && owner == ownerSidOf(other);
}

} // namespace platform
