// SPDX-License-Identifier: GPL-3.0-or-later
// The folder lock's steps on Windows. A lock is a directory holding its owner's lines, made under a
// name of its own and moved onto "held" with MoveFileExW, which Windows (and every server of its
// shares) refuses while another directory stands there. No reparse point in the lock's directory is
// ever followed: each entry is looked at itself (FILE_FLAG_OPEN_REPARSE_POINT) before it is used.
#include "platform/file_trail.h"
#include "platform/lock_place.h"
#include "platform/path_walk_windows.h"
#include "platform/share_calls_windows.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include <windows.h>

namespace platform {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Tidying what killed programs left never holds a turn up for long, however much there is.
constexpr qint64 kLeftoverBudgetMs = 200;

std::wstring wide(const QByteArray &name)
{
    return QString::fromUtf8(name).toStdWString();
}

qint64 secondsSince1970(const LARGE_INTEGER &time)
{
    return qint64(time.QuadPart / 10000000LL) - 11644473600LL;
}

// What an entry is, looked at itself, a reparse point included.
struct Entry {
    bool there = false;
    bool directory = false;
    bool reparsePoint = false;
    DWORD error = ERROR_SUCCESS; // why it could not be looked at
};

Entry entryAt(const std::wstring &path)
{
    Entry entry;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        entry.error = ::GetLastError();
        return entry;
    }
    entry.there = true;
    entry.directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.reparsePoint = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    return entry;
}

bool isMissing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Removes an entry of the lock's directory without following anything: a lock (a directory) loses
// its owner's lines and then goes itself; anything else in a lock's place (a link, a junction, a
// file) goes itself, and what a link names is never touched. A file another computer has open is
// waited for when `waiting`.
bool removeEntry(const std::wstring &path, bool waiting)
{
    const Entry entry = entryAt(path);
    if (!entry.there)
        return isMissing(entry.error);
    const auto attempt = [waiting](auto call) { return waiting ? retriedWhileOpenElsewhere(call) : call() != 0; };
    if (entry.reparsePoint)
        return entry.directory ? attempt([&] { return ::RemoveDirectoryW(path.c_str()); })
                               : attempt([&] { return ::DeleteFileW(path.c_str()); });
    if (!entry.directory)
        return attempt([&] { return ::DeleteFileW(path.c_str()); });
    const std::wstring owner = path + L'\\' + wide(kLockOwnerName);
    if (const Entry inside = entryAt(owner); inside.there && !inside.directory)
        attempt([&] { return ::DeleteFileW(owner.c_str()); });
    return attempt([&] { return ::RemoveDirectoryW(path.c_str()); });
}

// The time a lock was last changed: the earlier of its write and change times, both the server's.
qint64 lastChanged(HANDLE file)
{
    FILE_BASIC_INFO basic{};
    if (!::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic))
        return qint64(std::time(nullptr));
    const qint64 written = secondsSince1970(basic.LastWriteTime);
    const qint64 changed = secondsSince1970(basic.ChangeTime);
    return changed <= 0 ? written : std::min(written, changed);
}

// The lock at `path` as it is now, never followed through a reparse point.
LockEntry readLockAt(const std::wstring &path)
{
    LockEntry seen;
    const Entry entry = entryAt(path);
    if (!entry.there) {
        if (!isMissing(entry.error))
            seen = {LockEntry::Unreadable, {}, "unknown", qint64(std::time(nullptr))};
        return seen;
    }
    if (entry.reparsePoint || !entry.directory) {
        seen.kind = LockEntry::NoLock;
        return seen;
    }
    const std::wstring ownerPath = path + L'\\' + wide(kLockOwnerName);
    const HANDLE owner = ::CreateFileW(ownerPath.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (owner == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        seen.kind = isMissing(error) ? LockEntry::Ownerless : LockEntry::Unreadable;
        seen.changed = qint64(std::time(nullptr));
        seen.identity = "unknown";
        return seen;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(owner, &information)) {
        seen.kind = LockEntry::Unreadable;
        seen.changed = qint64(std::time(nullptr));
        seen.identity = "unknown";
    } else if ((information.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        seen.kind = LockEntry::NoLock;
    } else {
        char buffer[1024];
        DWORD got = 0;
        const bool read = ::ReadFile(owner, buffer, sizeof buffer, &got, nullptr) != 0;
        seen.kind = read ? LockEntry::Readable : LockEntry::Unreadable;
        seen.content = QByteArray(buffer, read ? qsizetype(got) : 0);
        seen.changed = lastChanged(owner);
        seen.identity = QByteArray::number(quint64(information.dwVolumeSerialNumber)) + ':'
                        + QByteArray::number(information.nFileIndexHigh) + ':'
                        + QByteArray::number(information.nFileIndexLow) + ':'
                        + QByteArray::number(information.ftLastWriteTime.dwHighDateTime) + ':'
                        + QByteArray::number(information.ftLastWriteTime.dwLowDateTime) + ':' + seen.content;
    }
    ::CloseHandle(owner);
    return seen;
}

bool writeAll(HANDLE file, const QByteArray &content)
{
    DWORD wrote = 0;
    return ::WriteFile(file, content.constData(), DWORD(content.size()), &wrote, nullptr)
           && wrote == DWORD(content.size());
}

// The lock's directory. In a folder that is not this account's own it must be there already and be
// the folder owner's (the teacher's) or the administrators': a learner who made it could close it
// to the class. Made here only in a folder of this account's own, where it inherits the folder's
// access list.
std::optional<std::wstring> lockDirectoryIn(const std::wstring &folder, LockFailure &failure)
{
    const std::wstring directory = folder + L'\\' + wide(kLockDirectoryName);
    const std::optional<bool> ownFolder = ownedByThisAccount(folder);
    if (ownFolder.value_or(false) && !::CreateDirectoryW(directory.c_str(), nullptr)
        && isMomentaryShareError(errnoForWindowsError(::GetLastError())))
        return failedWithLastError(std::optional<std::wstring>()); // to be tried again
    const Entry entry = entryAt(directory);
    const bool trusted = entry.there && entry.directory && !entry.reparsePoint
                         && (haveOneOwner(directory, folder) || ownedByTrustedAccount(directory));
    if (!ownFolder.value_or(false) && !trusted && (isMissing(entry.error) || entry.there)) {
        qCInfo(lcFiles) << "the folder's lock directory is missing, a link, or a learner's";
        failure = LockFailure::NotTheTeachers;
        errno = EACCES;
        return std::nullopt;
    }
    if (!entry.there || !entry.directory || entry.reparsePoint) {
        errno = entry.there ? ENOTDIR : errnoForWindowsError(entry.error);
        qCInfo(lcFiles) << "the folder's lock directory cannot be opened:" << std::strerror(errno);
        return std::nullopt;
    }
    return directory;
}

class WindowsLockPlace : public LockPlace {
public:
    WindowsLockPlace(std::wstring folder, std::wstring directory)
        : m_folder(std::move(folder)), m_directory(std::move(directory))
    {
    }

    bool reopen(LockFailure &failure) override
    {
        const std::optional<std::wstring> directory = lockDirectoryIn(m_folder, failure);
        if (directory)
            m_directory = *directory;
        return directory.has_value();
    }

    Making makeLock(const QByteArray &name, const QByteArray &content) override
    {
        const std::wstring made = entry(name);
        if (!::CreateDirectoryW(made.c_str(), nullptr)) {
            const DWORD error = ::GetLastError();
            errno = errnoForWindowsError(error);
            // The lock's directory was removed by hand.
            if (error == ERROR_PATH_NOT_FOUND)
                return Making::DirectoryGone;
            qCInfo(lcFiles) << "the folder's lock cannot be made:" << std::strerror(errno);
            return Making::Failed;
        }
        const std::wstring ownerPath = made + L'\\' + wide(kLockOwnerName);
        const HANDLE owner = ::CreateFileW(ownerPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                           nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (owner != INVALID_HANDLE_VALUE) {
            const bool written = writeAll(owner, content) && ::FlushFileBuffers(owner);
            // A share may report a failed write only when the file is closed.
            if (::CloseHandle(owner) && written)
                return Making::Made;
        }
        failedWithLastError(0);
        qCInfo(lcFiles) << "the folder's lock cannot be written:" << std::strerror(errno);
        const KeptErrno kept;
        removeEntry(made, true);
        return Making::Failed;
    }

    bool putInPlace(const QByteArray &name) override
    {
        return ::MoveFileExW(entry(name).c_str(), held().c_str(), MOVEFILE_WRITE_THROUGH) || failedWithLastError(false);
    }

    bool isGone(const QByteArray &name) override
    {
        const Entry made = entryAt(entry(name));
        return !made.there && isMissing(made.error);
    }

    LockEntry readLock() override { return readLockAt(held()); }

    void takeOver(const LockEntry &judged) override
    {
        const std::wstring aside = entry("stale-" + randomToken());
        if (!::MoveFileExW(held().c_str(), aside.c_str(), 0))
            return;
        const LockEntry moved = readLockAt(aside);
        if (moved.kind == LockEntry::Readable && moved.identity != judged.identity && parseLockFile(moved.content)
            && ::MoveFileExW(aside.c_str(), held().c_str(), 0))
            return;
        removeEntry(aside, false);
    }

    bool removeOwnerless() override { return ::RemoveDirectoryW(held().c_str()) || isMissing(::GetLastError()); }

    void removeMade(const QByteArray &name) override { removeEntry(entry(name), true); }

    // What killed programs left: locks made and never put in place, moved aside and never removed.
    // Anything there changed over a minute before our own lock is no one's.
    void removeLeftovers() override
    {
        QElapsedTimer spent;
        spent.start();
        const LockEntry ours = readLock();
        if (ours.kind != LockEntry::Readable)
            return;
        WIN32_FIND_DATAW found{};
        const std::wstring pattern = m_directory + L"\\*";
        const HANDLE listing =
            ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
        if (listing == INVALID_HANDLE_VALUE)
            return;
        do {
            const QString name = QString::fromWCharArray(found.cFileName);
            if (!name.startsWith(QLatin1String("new-")) && !name.startsWith(QLatin1String("stale-")))
                continue;
            const LARGE_INTEGER written{
                {found.ftLastWriteTime.dwLowDateTime, LONG(found.ftLastWriteTime.dwHighDateTime)}};
            if (ours.changed - secondsSince1970(written) > kLockStaleAfterSeconds)
                removeEntry(m_directory + L'\\' + name.toStdWString(), false);
        } while (spent.elapsed() < kLeftoverBudgetMs && ::FindNextFileW(listing, &found));
        ::FindClose(listing);
    }

    // Only our own: one taken over as stale is another's by now. Its owner's lines go first; the
    // directory follows once no waiter has them open (a file being deleted keeps its directory from
    // going until then), unless another's lock stands there by then.
    void release(const QByteArray &ours) override
    {
        const LockEntry seen = readLock();
        if (seen.kind != LockEntry::Unreadable && seen.content != ours)
            return;
        const std::wstring owner = held() + L'\\' + wide(kLockOwnerName);
        if (!retriedWhileOpenElsewhere([&] { return ::DeleteFileW(owner.c_str()) || isMissing(::GetLastError()); }))
            return;
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (::RemoveDirectoryW(held().c_str()) || ::GetLastError() != ERROR_DIR_NOT_EMPTY)
                return;
            const LockEntry now = readLock();
            if (now.kind == LockEntry::None || (now.kind == LockEntry::Readable && now.content != ours))
                return;
            ::Sleep(20);
        }
    }

private:
    std::wstring entry(const QByteArray &name) const { return m_directory + L'\\' + wide(name); }
    std::wstring held() const { return entry(kLockName); }

    std::wstring m_folder;
    std::wstring m_directory; // the lock's directory
};

// A number that stays the same while Windows runs and changes when it starts again: the count of its
// starts where Windows keeps one, otherwise the minute it started.
QByteArray bootCount()
{
    DWORD count = 0;
    DWORD size = sizeof count;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE,
                       L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management\\PrefetchParameters",
                       L"BootId", RRF_RT_REG_DWORD, nullptr, &count, &size)
        == ERROR_SUCCESS)
        return "boot " + QByteArray::number(count);
    const qint64 started = qint64(std::time(nullptr)) - qint64(::GetTickCount64() / 1000);
    return "started " + QByteArray::number(started / 60);
}

} // namespace

std::unique_ptr<LockPlace> LockPlace::open(const QString &startDirectory, LockFailure &failure)
{
    const std::optional<std::wstring> folder =
        retriedThroughShareStall([&] { return walkedPath(startDirectory, LastName::FollowTrusted); },
                                 [](const std::optional<std::wstring> &walked) { return !walked; });
    if (!folder) {
        qCInfo(lcFiles) << "the folder cannot be reached for its lock:" << std::strerror(errno);
        return nullptr;
    }
    const std::optional<std::wstring> directory =
        retriedThroughShareStall([&] { return lockDirectoryIn(*folder, failure); },
                                 [](const std::optional<std::wstring> &found) { return !found; });
    if (!directory)
        return nullptr;
    return std::make_unique<WindowsLockPlace>(*folder, *directory);
}

LockHolder thisProcess()
{
    wchar_t host[256] = {};
    DWORD length = 255;
    if (!::GetComputerNameExW(ComputerNameDnsHostname, host, &length))
        length = 0;
    return {QString::fromWCharArray(host, int(length)).toUtf8(), bootCount(), qint64(::GetCurrentProcessId()),
            randomToken()};
}

bool processGone(qint64 pid)
{
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process)
        return ::GetLastError() == ERROR_INVALID_PARAMETER; // no such process; "access denied" is one
    DWORD exitCode = 0;
    const bool gone = ::GetExitCodeProcess(process, &exitCode) && exitCode != STILL_ACTIVE;
    ::CloseHandle(process);
    return gone;
}

} // namespace platform
