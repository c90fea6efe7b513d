// SPDX-License-Identifier: GPL-3.0-or-later
// The file layer on Windows: the same promises as on Linux, through the calls Windows offers for
// them. New content is written in full beside its target, flushed, and moved into place with
// MoveFileExW, which replaces a file in one step (or, without MOVEFILE_REPLACE_EXISTING, refuses an
// existing name: exclusive creation); appends take the file for this program alone while they write
// at its end, and are cut back on failure; a file another computer has open is waited for.
#include "platform/files.h"

#include "platform/file_attempts.h"
#include "platform/file_trail.h"
#include "platform/path_walk_windows.h"
#include "platform/reserved_names.h"
#include "platform/share_calls_windows.h"
#include "platform/staging_name.h"

#include <QDateTime>
#include <QFile>

#include <cerrno>

#include <sddl.h>
#include <windows.h>

namespace platform {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// How long a file that another program writes is waited for. Past it the operation fails with its
// message: one learner holding a file must not freeze everyone's window.
constexpr int kLockWaitMilliseconds = 5000;
// One WriteFile or ReadFile moves at most this much.
constexpr qint64 kChunk = 1 << 20;

class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    ~Handle() { close(); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    void reset(HANDLE handle)
    {
        close();
        m_handle = handle;
    }
    // Whether closing succeeded: a share may report a failed write only then.
    bool close()
    {
        if (!valid())
            return true;
        const bool closed = ::CloseHandle(m_handle) != 0;
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

// The path walked by the link rule (platform/path_walk_windows.h); a refused link is remembered.
std::optional<std::wstring> place(const QString &path, LastName last)
{
    std::optional<std::wstring> placed = walkedPath(path, last);
    if (!placed && lastPlaceFailure() == PlaceFailure::UntrustedLink) {
        qCInfo(lcFiles) << "a link on the way to" << path << "belongs to someone the folder does not trust";
        refuseLink();
    }
    return placed;
}

std::wstring lastNameOf(const std::wstring &path)
{
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring folderOf(const std::wstring &path)
{
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// A name that Windows cannot hold (a device name, a trailing dot, more than NTFS's 255 characters):
// refused as the file system refuses a name, before anything is made.
bool refusesName(const std::wstring &path)
{
    constexpr size_t kLongestName = 255;
    const std::wstring name = lastNameOf(path);
    if (name.size() > kLongestName) {
        errno = ENAMETOOLONG;
        return true;
    }
    if (!isNameWindowsRefuses(QString::fromStdWString(name)))
        return false;
    errno = EINVAL;
    return true;
}

struct EntryInfo {
    bool directory = false;
    bool reparsePoint = false;
    bool readOnly = false;
    qint64 size = 0;
    DWORD links = 1;
    quint64 fileId = 0;
    DWORD volume = 0;
    qint64 lastWrite = 0; // seconds since 1970
};

std::optional<EntryInfo> infoOf(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(handle, &information))
        return failedWithLastError(std::optional<EntryInfo>());
    EntryInfo info;
    info.directory = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    info.reparsePoint = (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    info.readOnly = (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    info.size = qint64((quint64(information.nFileSizeHigh) << 32) | information.nFileSizeLow);
    info.links = information.nNumberOfLinks;
    info.fileId = (quint64(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    info.volume = information.dwVolumeSerialNumber;
    const quint64 ticks =
        (quint64(information.ftLastWriteTime.dwHighDateTime) << 32) | information.ftLastWriteTime.dwLowDateTime;
    info.lastWrite = qint64(ticks / 10000000ULL) - 11644473600LL;
    return info;
}

// The entry as it is now: a reparse point itself when `follow` is false.
std::optional<EntryInfo> entryAt(const std::wstring &path, bool follow)
{
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    const Handle entry(
        ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr));
    if (!entry.valid())
        return failedWithLastError(std::optional<EntryInfo>());
    return infoOf(entry.get());
}

// Where a link (of this account's or the system's, already judged) leads in the end.
std::optional<std::wstring> finalPathOf(const std::wstring &path)
{
    const Handle entry(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!entry.valid())
        return failedWithLastError(std::optional<std::wstring>());
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(entry.get(), final.data(), DWORD(final.size()), 0);
        if (length == 0)
            return failedWithLastError(std::optional<std::wstring>());
        if (length < final.size()) {
            final.resize(length);
            return final;
        }
        final.resize(length + 1);
    }
}

// Whether the entry is a regular file; otherwise errno says what it is instead, for the trail.
bool isRegular(const EntryInfo &info)
{
    if (!info.directory)
        return true;
    errno = EISDIR;
    return false;
}

// A file with a second name elsewhere: writing to it would change the other name's file too.
bool isHardLinked(const EntryInfo &info)
{
    return info.links > 1;
}

// Opens a regular file for reading, alongside anyone else who reads or writes it.
HANDLE openRegularFileForReading(const QString &path)
{
    const std::optional<std::wstring> placed = place(path, LastName::FollowTrusted);
    if (!placed)
        return INVALID_HANDLE_VALUE;
    HANDLE file = ::CreateFileW(placed->c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return failedWithLastError(INVALID_HANDLE_VALUE);
    const std::optional<EntryInfo> info = infoOf(file);
    // A device or a pipe is no file: it could make a read wait forever.
    if (info && isRegular(*info) && ::GetFileType(file) == FILE_TYPE_DISK)
        return file;
    const KeptErrno kept;
    ::CloseHandle(file);
    return INVALID_HANDLE_VALUE;
}

std::optional<QByteArray> readFrom(HANDLE file, qint64 offset, qint64 maxBytes)
{
    QByteArray bytes;
    if (LARGE_INTEGER size{}; ::GetFileSizeEx(file, &size) && size.QuadPart > offset)
        bytes.reserve(qsizetype(std::min<qint64>(maxBytes, size.QuadPart - offset)));
    while (bytes.size() < maxBytes) {
        char buffer[65536];
        const qint64 wanted = std::min<qint64>(qint64(sizeof buffer), maxBytes - bytes.size());
        const quint64 at = quint64(offset + bytes.size());
        OVERLAPPED position{};
        position.Offset = DWORD(at & 0xffffffffu);
        position.OffsetHigh = DWORD(at >> 32);
        DWORD got = 0;
        if (!::ReadFile(file, buffer, DWORD(wanted), &got, &position)) {
            if (::GetLastError() == ERROR_HANDLE_EOF)
                break;
            return failedWithLastError(std::optional<QByteArray>());
        }
        if (got == 0)
            break;
        bytes.append(buffer, qsizetype(got));
    }
    return bytes;
}

// Writes every byte at `offset` on.
bool writeAt(HANDLE file, const QByteArray &bytes, qint64 offset)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const quint64 at = quint64(offset + done);
        OVERLAPPED position{};
        position.Offset = DWORD(at & 0xffffffffu);
        position.OffsetHigh = DWORD(at >> 32);
        DWORD wrote = 0;
        const DWORD wanted = DWORD(std::min<qint64>(kChunk, bytes.size() - done));
        if (!::WriteFile(file, bytes.constData() + done, wanted, &wrote, &position))
            return failedWithLastError(false);
        if (wrote == 0) {
            errno = ENOSPC;
            return false;
        }
        done += wrote;
    }
    return true;
}

bool flush(HANDLE file)
{
    return ::FlushFileBuffers(file) ? true : failedWithLastError(false);
}

// An access list that lets this account alone in (the owner's rights, nothing for anyone else).
class OwnerOnlySecurity {
public:
    OwnerOnlySecurity()
    {
        if (::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;OW)", SDDL_REVISION_1, &m_descriptor,
                                                                   nullptr)) {
            m_attributes.nLength = sizeof m_attributes;
            m_attributes.lpSecurityDescriptor = m_descriptor;
            m_attributes.bInheritHandle = FALSE;
        }
    }
    ~OwnerOnlySecurity()
    {
        if (m_descriptor)
            ::LocalFree(m_descriptor);
    }
    OwnerOnlySecurity(const OwnerOnlySecurity &) = delete;
    OwnerOnlySecurity &operator=(const OwnerOnlySecurity &) = delete;
    SECURITY_ATTRIBUTES *attributes() { return m_descriptor ? &m_attributes : nullptr; }

private:
    PSECURITY_DESCRIPTOR m_descriptor = nullptr;
    SECURITY_ATTRIBUTES m_attributes{};
};

// New content written in full and flushed beside the file it is meant for, under a hidden name of
// its own, until it takes the target's name. A staged file that never did is removed.
class StagedFile {
public:
    StagedFile(const std::wstring &folder, const QByteArray &bytes, NewFileAccess access)
    {
        OwnerOnlySecurity ownerOnly;
        SECURITY_ATTRIBUTES *security = access == NewFileAccess::OwnerOnly ? ownerOnly.attributes() : nullptr;
        Handle file;
        for (int attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
            m_path = folder + L'\\' + QString::fromLatin1(stagingName()).toStdWString();
            HANDLE made = ::CreateFileW(m_path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, security, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
            if (made == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) {
                failedWithLastError(0);
                m_path.clear();
                return;
            }
            file.reset(made);
        }
        if (!file.valid()) {
            m_path.clear();
            return;
        }
        const std::optional<EntryInfo> info =
            writeAt(file.get(), bytes, 0) && flush(file.get()) ? infoOf(file.get()) : std::optional<EntryInfo>();
        if (info) {
            m_fileId = info->fileId;
            m_volume = info->volume;
        }
        m_ready = file.close() && info;
    }

    ~StagedFile()
    {
        const KeptErrno kept;
        if (!m_path.empty())
            ::DeleteFileW(m_path.c_str());
    }

    StagedFile(const StagedFile &) = delete;
    StagedFile &operator=(const StagedFile &) = delete;

    bool ready() const { return m_ready; }

    // Whether the target's name is this content's: a share that answered a move with an error may
    // have carried it out all the same.
    bool landedAt(const std::wstring &target) const
    {
        const KeptErrno kept;
        const std::optional<EntryInfo> there = entryAt(target, false);
        return there && there->fileId == m_fileId && there->volume == m_volume;
    }

    // Puts the content in the target's place, replacing whatever file is there. The move replaces the
    // entry itself: had someone put a link there meanwhile, the link is what goes.
    bool replace(const std::wstring &target)
    {
        const bool moved = retriedWhileOpenElsewhere([&] {
            return ::MoveFileExW(m_path.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        });
        if (!moved && !landedAt(target))
            return false;
        m_path.clear();
        return true;
    }

    // Gives the content the target's name only if that name is free.
    CreateResult createExclusively(const std::wstring &target)
    {
        if (::MoveFileExW(m_path.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) || landedAt(target)) {
            m_path.clear();
            return CreateResult::Created;
        }
        switch (::GetLastError()) {
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS:
            errno = EEXIST;
            return CreateResult::AlreadyExists;
        case ERROR_INVALID_NAME:
        case ERROR_FILENAME_EXCED_RANGE:
            errno = EINVAL;
            return CreateResult::NameRefused;
        default:
            return failedWithLastError(CreateResult::Failed);
        }
    }

private:
    std::wstring m_path; // the staged file's own path, while it has it
    bool m_ready = false;
    quint64 m_fileId = 0;
    DWORD m_volume = 0;
};

} // namespace

bool writeWholeFileOnce(const QString &path, const QByteArray &bytes, NewFileAccess access)
{
    beginFileCall();
    // Saved through a link of this account's or the system's, as editors do; another's is refused.
    std::optional<std::wstring> placed = place(path, LastName::FollowTrusted);
    if (!placed || refusesName(*placed))
        return false;
    // The link itself stays: the content goes where it leads.
    if (const std::optional<EntryInfo> itself = entryAt(*placed, false); itself && itself->reparsePoint)
        placed = finalPathOf(*placed);
    if (!placed)
        return false;
    const std::optional<EntryInfo> entry = entryAt(*placed, true);
    if (!entry && errno != ENOENT)
        return false;
    if (entry) {
        if (!isRegular(*entry))
            return false;
        if (isHardLinked(*entry))
            return refuseLink();
        // Only a file this account may write is replaced, although the folder would let it go.
        const Handle writable(::CreateFileW(placed->c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!writable.valid() && !isSharingViolation(::GetLastError())) {
            failedWithLastError(false);
            if (errno == ENOENT)
                noteFileReplacedMeanwhile();
            return false;
        }
    }
    StagedFile staged(folderOf(*placed), bytes, access);
    return staged.ready() && staged.replace(*placed);
}

CreateAttempt createFileOnce(const QString &path, const QByteArray &bytes)
{
    beginFileCall();
    const std::optional<std::wstring> placed = place(path, LastName::AsItIs);
    if (!placed)
        return {CreateResult::Failed, true};
    if (refusesName(*placed))
        return {CreateResult::NameRefused, false};
    if (::GetFileAttributesW(placed->c_str()) != INVALID_FILE_ATTRIBUTES) {
        errno = EEXIST;
        return {CreateResult::AlreadyExists, false};
    }
    StagedFile staged(folderOf(*placed), bytes, NewFileAccess::AsBefore);
    if (!staged.ready())
        return {CreateResult::Failed, true};
    const CreateResult result = staged.createExclusively(*placed);
    return {result, result == CreateResult::Failed && ::GetFileAttributesW(placed->c_str()) == INVALID_FILE_ATTRIBUTES};
}

namespace {

// The file, for this program alone to write while it appends: others may go on reading it. Another
// program's append is waited for.
HANDLE openForAppending(const std::wstring &path)
{
    constexpr DWORD kAccess = FILE_READ_ATTRIBUTES | FILE_WRITE_DATA | FILE_APPEND_DATA | SYNCHRONIZE;
    for (int waited = 0;; waited += 20) {
        const HANDLE file = ::CreateFileW(path.c_str(), kAccess, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        const DWORD error = ::GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION)
            return failedWithLastError(INVALID_HANDLE_VALUE);
        if (waited >= kLockWaitMilliseconds) {
            errno = EBUSY;
            return INVALID_HANDLE_VALUE;
        }
        ::Sleep(20);
    }
}

} // namespace

AppendAttempt appendOnce(const QString &path, const QByteArray &bytes)
{
    beginFileCall();
    const std::optional<std::wstring> placed = place(path, LastName::FollowTrusted);
    if (!placed)
        return {false, true};
    Handle file(openForAppending(*placed));
    if (!file.valid())
        return {false, true};
    const std::optional<EntryInfo> info = infoOf(file.get());
    if (!info || !isRegular(*info) || isHardLinked(*info)) {
        if (info && isRegular(*info))
            refuseLink();
        return {false, true};
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size))
        return failedWithLastError(AppendAttempt{false, true});
    const qint64 oldSize = size.QuadPart;
    const bool written = writeAt(file.get(), bytes, oldSize) && flush(file.get());
    bool asItWas = false;
    if (!written) {
        const KeptErrno kept;
        // Shrinking needs no space, so a full disk cannot refuse it. No one else wrote meanwhile:
        // the file is ours alone until it is closed.
        LARGE_INTEGER now{};
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = oldSize;
        if (::GetFileSizeEx(file.get(), &now) && now.QuadPart == oldSize)
            asItWas = true;
        else if (::SetFileInformationByHandle(file.get(), FileEndOfFileInfo, &end, sizeof end))
            asItWas = ::FlushFileBuffers(file.get()) != 0;
    }
    // Once flushed the bytes are on the disk, whatever closing says.
    const KeptErrno kept;
    file.close();
    return {written, asItWas};
}

namespace {

MakeDirectoryResult directoryFailure(DWORD error)
{
    switch (error) {
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        errno = EEXIST;
        return MakeDirectoryResult::AlreadyExists;
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BAD_PATHNAME:
        errno = EINVAL;
        return MakeDirectoryResult::NameRefused;
    default:
        errno = errnoForWindowsError(error);
        return MakeDirectoryResult::Failed;
    }
}

} // namespace

std::optional<qint64> regularFileSize(const QString &path)
{
    return retried([&]() -> std::optional<qint64> {
        beginFileCall();
        const std::optional<std::wstring> placed = place(path, LastName::FollowTrusted);
        const std::optional<EntryInfo> entry = placed ? entryAt(*placed, true) : std::nullopt;
        if (!entry || entry->directory)
            return std::nullopt;
        return entry->size;
    });
}

std::optional<QByteArray> readFilePart(const QString &path, qint64 offset, qint64 maxBytes)
{
    return retried([&]() -> std::optional<QByteArray> {
        beginFileCall();
        const Handle file(openRegularFileForReading(path));
        if (!file.valid())
            return std::nullopt;
        return readFrom(file.get(), offset, maxBytes);
    });
}

MakeDirectoryResult makeDirectory(const QString &path)
{
    // A directory made in spite of an error is there on the next try: AlreadyExists, as when
    // another computer made it.
    return retriedThroughShareStall(
        [&] {
            beginFileCall();
            const std::optional<std::wstring> placed = place(path, LastName::AsItIs);
            if (!placed)
                return MakeDirectoryResult::Failed;
            if (refusesName(*placed))
                return MakeDirectoryResult::NameRefused;
            if (::CreateDirectoryW(placed->c_str(), nullptr))
                return MakeDirectoryResult::Created;
            return directoryFailure(::GetLastError());
        },
        [](MakeDirectoryResult result) { return result == MakeDirectoryResult::Failed; });
}

std::optional<QString> makeStagingDirectory(const QString &parent)
{
    beginFileCall();
    const std::optional<std::wstring> folder = place(parent, LastName::FollowTrusted);
    if (!folder)
        return std::nullopt;
    const auto attempt = [&] {
        for (int tries = 0; tries < 100; ++tries) {
            const QByteArray name = stagingName();
            const std::wstring path = *folder + L'\\' + QString::fromLatin1(name).toStdWString();
            if (::CreateDirectoryW(path.c_str(), nullptr))
                return joinPath(parent, QString::fromLatin1(name));
            if (::GetLastError() != ERROR_ALREADY_EXISTS) {
                failedWithLastError(0);
                // Made all the same by a share that lost its answer: gone again, or tidied later
                // with the stale ones.
                const KeptErrno kept;
                ::RemoveDirectoryW(path.c_str());
                break;
            }
        }
        return QString();
    };
    const QString made = retriedThroughShareStall(attempt, [](const QString &name) { return name.isEmpty(); });
    if (made.isEmpty())
        return std::nullopt;
    return made;
}

MakeDirectoryResult moveDirectoryIntoPlace(const QString &from, const QString &to)
{
    beginFileCall();
    const std::optional<std::wstring> source = place(from, LastName::AsItIs);
    const std::optional<std::wstring> target = place(to, LastName::AsItIs);
    if (!source || !target)
        return MakeDirectoryResult::Failed;
    if (refusesName(*target))
        return MakeDirectoryResult::NameRefused;
    // Windows never moves a directory over an existing entry: of two computers giving one name at
    // once, the server lets one succeed.
    if (::MoveFileExW(source->c_str(), target->c_str(), MOVEFILE_WRITE_THROUGH))
        return MakeDirectoryResult::Created;
    const DWORD error = ::GetLastError();
    const bool sourceGone = ::GetFileAttributesW(source->c_str()) == INVALID_FILE_ATTRIBUTES;
    const bool targetThere = ::GetFileAttributesW(target->c_str()) != INVALID_FILE_ATTRIBUTES;
    // A share may carry the move out and lose its answer: ours is then where it was sent.
    if (sourceGone && targetThere)
        return MakeDirectoryResult::Created;
    if (targetThere) {
        errno = EEXIST;
        return MakeDirectoryResult::AlreadyExists;
    }
    return directoryFailure(error);
}

bool pathExists(const QString &path)
{
    return ::GetFileAttributesW(nativeWidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<EntryFacts> entryFacts(const QString &path)
{
    return retried([&]() -> std::optional<EntryFacts> {
        beginFileCall();
        const std::optional<std::wstring> placed = place(path, LastName::AsItIs);
        const std::optional<EntryInfo> entry = placed ? entryAt(*placed, false) : std::nullopt;
        if (!entry)
            return std::nullopt;
        const std::optional<bool> ours = ownedByThisAccount(*placed);
        return EntryFacts{entry->directory, ours.value_or(false),
                          QDateTime::currentSecsSinceEpoch() - entry->lastWrite};
    });
}

bool isDirectory(const QString &path)
{
    return retried([&] {
        beginFileCall();
        const std::optional<std::wstring> placed = place(path, LastName::FollowTrusted);
        const std::optional<EntryInfo> entry = placed ? entryAt(*placed, true) : std::nullopt;
        return entry && entry->directory;
    });
}

std::optional<QStringList> directoryEntries(const QString &path)
{
    return retried([&]() -> std::optional<QStringList> {
        beginFileCall();
        const std::optional<std::wstring> placed = place(path, LastName::FollowTrusted);
        if (!placed)
            return std::nullopt;
        const std::wstring pattern = *placed + L"\\*";
        WIN32_FIND_DATAW found{};
        const HANDLE listing = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                                  nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (listing == INVALID_HANDLE_VALUE)
            return failedWithLastError(std::optional<QStringList>());
        QStringList names;
        do {
            const QString name = QString::fromWCharArray(found.cFileName);
            if (name != QLatin1String(".") && name != QLatin1String(".."))
                names.append(name);
        } while (::FindNextFileW(listing, &found));
        const DWORD ended = ::GetLastError();
        ::FindClose(listing);
        if (ended != ERROR_NO_MORE_FILES) {
            errno = errnoForWindowsError(ended);
            return std::nullopt;
        }
        names.sort();
        return names;
    });
}

bool removeFile(const QString &path)
{
    beginFileCall();
    const std::optional<std::wstring> placed = place(path, LastName::AsItIs);
    return placed && (::DeleteFileW(placed->c_str()) || failedWithLastError(false));
}

bool removeEmptyDirectory(const QString &path)
{
    beginFileCall();
    const std::optional<std::wstring> placed = place(path, LastName::AsItIs);
    return placed && (::RemoveDirectoryW(placed->c_str()) || failedWithLastError(false));
}

bool leadsThroughRefusedLink(const QString &path)
{
    beginFileCall();
    return !place(path, LastName::FollowTrusted) && lastFailureWasRefusedLink();
}

} // namespace platform
