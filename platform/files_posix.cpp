// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"

#include "platform/file_attempts.h"
#include "platform/file_trail.h"
#include "platform/path_walk_posix.h"
#include "platform/share_calls_posix.h"
#include "platform/staging_name.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

bool writeEverything(int descriptor, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

// The path walked by the link rule (platform/path_walk_posix.h); a refused link is remembered.
std::optional<PlacedName> place(const QString &path, LastName last)
{
    std::optional<PlacedName> placed = placeName(nativePath(path), last);
    if (!placed && lastPlaceFailure() == PlaceFailure::UntrustedLink) {
        qCInfo(lcFiles) << "a link on the way to" << path << "belongs to someone the folder does not trust";
        refuseLink();
    }
    return placed;
}

// Whether the entry is a regular file; otherwise errno says what it is instead, for the trail.
bool isRegular(const struct stat &status)
{
    if (S_ISREG(status.st_mode))
        return true;
    errno = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    return false;
}

// A file that someone else may have linked into a folder of theirs, or one they may write: writing
// to it would change the other name's file too.
bool isSharedHardLink(const PlacedName &placed, const struct stat &status)
{
    return placed.othersMayHavePlacedEntries() && status.st_nlink > 1;
}

// Opens a regular file for reading; a FIFO or a device is refused before it is opened, so that
// opening can never wait for a writer.
int openRegularFileForReading(const QString &path)
{
    const std::optional<PlacedName> placed = place(path, LastName::FollowTrusted);
    if (!placed)
        return -1;
    const std::optional<struct stat> entry = placed->entry();
    if (!entry || !isRegular(*entry))
        return -1;
    const int descriptor =
        ::openat(placed->directory(), placed->name(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
    if (descriptor < 0 && errno == ENOENT)
        noteFileReplacedMeanwhile();
    struct stat status {};
    // Read as far as the file reaches on its server now: a share's cached size would cut it short.
    if (descriptor >= 0 && ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && currentSize(descriptor) >= 0)
        return descriptor;
    if (descriptor >= 0)
        ::close(descriptor);
    return -1;
}

// A directory itself, open for the *at calls.
int openDirectory(const QString &path)
{
    const std::optional<PlacedName> placed = place(path, LastName::FollowTrusted);
    if (!placed)
        return -1;
    return ::openat(placed->directory(), placed->name(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// How long a lock that another program holds is waited for. Past it the operation fails with its
// message: one learner holding a lock must not freeze everyone's window.
constexpr int kLockWaitMilliseconds = 5000;

enum class LockOutcome { Held, Unsupported, TimedOut };

LockOutcome lockExclusively(int descriptor)
{
    for (int waited = 0;; waited += 20) {
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0)
            return LockOutcome::Held;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return LockOutcome::Unsupported;
        if (waited >= kLockWaitMilliseconds)
            return LockOutcome::TimedOut;
        ::usleep(20000);
    }
}

std::optional<QByteArray> readFrom(int descriptor, qint64 offset, qint64 maxBytes)
{
    QByteArray bytes;
    // Room for what is there at once: grown piece by piece, a large file would briefly take three
    // times its size.
    if (struct stat status{}; ::fstat(descriptor, &status) == 0 && status.st_size > offset)
        bytes.reserve(qsizetype(std::min<qint64>(maxBytes, status.st_size - offset)));
    while (bytes.size() < maxBytes) {
        char buffer[65536];
        const qint64 wanted = std::min<qint64>(qint64(sizeof buffer), maxBytes - bytes.size());
        const ssize_t got = ::pread(descriptor, buffer, size_t(wanted), offset + bytes.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    return bytes;
}

CreateResult creationFailure(int error)
{
    switch (error) {
    case EEXIST:
        return CreateResult::AlreadyExists;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return CreateResult::NameRefused;
    default:
        return CreateResult::Failed;
    }
}

// New content written in full and synced beside the file it is meant for, not yet under that
// file's name. Where the file system allows, it has no name at all until it is published, so a
// process killed while writing leaves nothing behind. Everything happens inside one directory,
// opened once, so that no link swapped in on the way can move it elsewhere.
class StagedFile {
public:
    StagedFile(int directory, const QByteArray &bytes, std::optional<mode_t> mode) : m_directory(directory)
    {
        // An unnamed file is given its name through /proc, which a bare chroot may lack.
        if (::access("/proc/self/fd", F_OK) == 0)
            m_descriptor = ::openat(directory, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (m_descriptor < 0) {
            // No unnamed files here (a network share): a hidden name of our own, made exclusively.
            for (int attempt = 0; attempt < 100 && m_descriptor < 0; ++attempt) {
                m_name = stagingName();
                m_descriptor =
                    ::openat(directory, m_name.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0666);
                if (m_descriptor < 0 && errno != EEXIST)
                    break;
            }
            if (m_descriptor < 0) {
                m_name.clear();
                return;
            }
        }
        m_ready = (!mode || ::fchmod(m_descriptor, *mode) == 0) && writeEverything(m_descriptor, bytes)
                  && ::fsync(m_descriptor) == 0 && ::fstat(m_descriptor, &m_status) == 0;
    }

    ~StagedFile()
    {
        const KeptErrno kept;
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        if (!m_name.isEmpty())
            ::unlinkat(m_directory, m_name.constData(), 0);
    }

    StagedFile(const StagedFile &) = delete;
    StagedFile &operator=(const StagedFile &) = delete;

    bool ready() const { return m_ready; }

    // Whether the target's name is this content's: a share that answered a rename or a link with an
    // error may have carried it out all the same.
    bool landedAt(const char *target) const
    {
        struct stat status {};
        return currentStatusAt(m_directory, target, &status) == 0 && status.st_dev == m_status.st_dev
               && status.st_ino == m_status.st_ino;
    }

    // Puts the content in the target's place, replacing whatever regular file is there. The rename
    // replaces the entry itself: had someone put a link there meanwhile, the link is what goes.
    bool replace(const char *target)
    {
        if (!giveName() || !closeChecked())
            return false;
        if (renameReplacingAt(m_directory, m_name.constData(), target) != 0)
            return false;
        m_name.clear();
        syncDirectory();
        return true;
    }

    // Gives the content the target's name only if that name is free.
    CreateResult createExclusively(const char *target)
    {
        CreateResult result = CreateResult::Failed;
        if (m_name.isEmpty()) {
            result = linkDescriptor(target);
        } else if (closeChecked()) {
            if (::renameat2(m_directory, m_name.constData(), m_directory, target, RENAME_NOREPLACE) == 0) {
                m_name.clear();
                result = CreateResult::Created;
            } else if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
                // A file system without the exclusive rename: a hard link is exclusive too, and
                // where there are no links either (SMB) a claim of the name.
                if (::linkat(m_directory, m_name.constData(), m_directory, target, 0) == 0) {
                    result = CreateResult::Created;
                } else if (errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS) {
                    const bool moved = claimAndRenameAt(m_directory, m_name.constData(), target) == 0;
                    if (moved)
                        m_name.clear();
                    result = moved ? CreateResult::Created : creationFailure(errno);
                } else {
                    result = creationFailure(errno);
                }
            } else {
                result = creationFailure(errno);
            }
        }
        if (result == CreateResult::Created)
            syncDirectory();
        return result;
    }

private:
    CreateResult linkDescriptor(const char *target)
    {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_descriptor);
        if (::linkat(AT_FDCWD, self.constData(), m_directory, target, AT_SYMLINK_FOLLOW) == 0) {
            // Synced before it got its name: what closing says can no longer matter.
            closeChecked();
            return CreateResult::Created;
        }
        return creationFailure(errno);
    }

    // An unnamed file gets a hidden name beside its target, for the rename that replaces the target.
    bool giveName()
    {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_descriptor);
        for (int attempt = 0; attempt < 100 && m_name.isEmpty(); ++attempt) {
            const QByteArray name = stagingName();
            const bool linked =
                ::linkat(AT_FDCWD, self.constData(), m_directory, name.constData(), AT_SYMLINK_FOLLOW) == 0;
            const int error = errno;
            if (linked || (error != EEXIST && landedAt(name.constData()))) {
                m_name = name;
            } else if (error != EEXIST) {
                errno = error;
                return false;
            }
        }
        return !m_name.isEmpty();
    }

    // A network file system may report a failed write only when the file is closed.
    bool closeChecked()
    {
        const int descriptor = m_descriptor;
        m_descriptor = -1;
        return ::close(descriptor) == 0;
    }

    // Makes the new name itself durable. The content is already in place, so a failure here
    // changes nothing that could be reported.
    void syncDirectory()
    {
        const int directory = ::openat(m_directory, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (directory >= 0) {
            ::fsync(directory);
            ::close(directory);
        }
    }

    int m_directory;   // not ours: the caller's, open for as long as this lives
    QByteArray m_name; // the staged file's own name, once it has one
    int m_descriptor = -1;
    bool m_ready = false;
    struct stat m_status {}; // the staged content's file, once written
};

} // namespace

std::optional<qint64> regularFileSize(const QString &path)
{
    return retried([&]() -> std::optional<qint64> {
        beginFileCall();
        const std::optional<PlacedName> placed = place(path, LastName::FollowTrusted);
        const std::optional<struct stat> entry = placed ? placed->entry() : std::nullopt;
        if (!entry || !S_ISREG(entry->st_mode))
            return std::nullopt;
        return qint64(entry->st_size);
    });
}

std::optional<QByteArray> readFilePart(const QString &path, qint64 offset, qint64 maxBytes)
{
    return retried([&]() -> std::optional<QByteArray> {
        beginFileCall();
        const int descriptor = openRegularFileForReading(path);
        if (descriptor < 0)
            return std::nullopt;
        std::optional<QByteArray> bytes = readFrom(descriptor, offset, maxBytes);
        const KeptErrno kept;
        ::close(descriptor);
        return bytes;
    });
}

bool writeWholeFileOnce(const QString &path, const QByteArray &bytes, NewFileAccess access)
{
    beginFileCall();
    std::optional<PlacedName> placed = place(path, LastName::AsItIs);
    if (!placed)
        return false;
    std::optional<struct stat> entry = placed->entry();
    if (entry && S_ISLNK(entry->st_mode)) {
        // Saved through a link of this account's or root's, as editors do; the link itself stays.
        // Another account's link may be a trap that leads into someone's home: the walk refuses it.
        placed = place(path, LastName::FollowTrusted);
        entry = placed ? placed->entry() : std::nullopt;
        if (!entry)
            return false;
    } else if (!entry && (errno != ENOENT || placed->followedLink())) {
        return false;
    }
    std::optional<mode_t> mode;
    if (entry) {
        if (!isRegular(*entry))
            return false;
        if (isSharedHardLink(*placed, *entry))
            return refuseLink();
        // Only a file this account may write is replaced, although the directory would let it go.
        if (::faccessat(placed->directory(), placed->name(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                noteFileReplacedMeanwhile();
            return false;
        }
        mode = entry->st_mode & 07777;
    }
    if (access == NewFileAccess::OwnerOnly)
        mode = S_IRUSR | S_IWUSR;
    StagedFile staged(placed->directory(), bytes, mode);
    return staged.ready() && staged.replace(placed->name());
}

CreateAttempt createFileOnce(const QString &path, const QByteArray &bytes)
{
    beginFileCall();
    const std::optional<PlacedName> placed = place(path, LastName::AsItIs);
    if (!placed)
        return {CreateResult::Failed, true};
    if (placed->entry())
        return {CreateResult::AlreadyExists, false};
    StagedFile staged(placed->directory(), bytes, std::nullopt);
    if (!staged.ready())
        return {CreateResult::Failed, true};
    const CreateResult result = staged.createExclusively(placed->name());
    if (result != CreateResult::Failed)
        return {result, false};
    const KeptErrno kept;
    if (staged.landedAt(placed->name()))
        return {CreateResult::Created, false};
    // A share may say only "not permitted" when another computer made the file first.
    if (placed->entry())
        return {CreateResult::AlreadyExists, false};
    return {result, errno == ENOENT};
}

AppendAttempt appendOnce(const QString &path, const QByteArray &bytes)
{
    beginFileCall();
    const std::optional<PlacedName> placed = place(path, LastName::FollowTrusted);
    if (!placed)
        return {false, true};
    // Read-write: an SMB share reached through libsmbclient fails an append opened write-only, and
    // gives I/O errors for seconds after. A file this account may only write is opened so.
    constexpr int kAppending = O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW;
    int descriptor = ::openat(placed->directory(), placed->name(), O_RDWR | kAppending);
    if (descriptor < 0 && errno == EACCES)
        descriptor = ::openat(placed->directory(), placed->name(), O_WRONLY | kAppending);
    if (descriptor < 0)
        return {false, true};
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !isRegular(status) || isSharedHardLink(*placed, status)) {
        if (S_ISREG(status.st_mode))
            refuseLink();
        const KeptErrno kept;
        ::close(descriptor);
        return {false, true};
    }
    // Another program's append must not land between our bytes and our cut-back.
    if (lockExclusively(descriptor) == LockOutcome::TimedOut) {
        ::close(descriptor);
        return {false, true};
    }
    const off_t oldSize = currentSize(descriptor);
    const bool written = oldSize >= 0 && writeEverything(descriptor, bytes) && ::fsync(descriptor) == 0;
    bool asItWas = !written && oldSize < 0;
    if (!written && oldSize >= 0) {
        const KeptErrno kept;
        // Shrinking needs no space, so a full disk cannot refuse it. The size is checked first, so
        // that bytes someone else appended (on a share without locks) are never cut off.
        struct stat now {};
        if (::fstat(descriptor, &now) == 0 && now.st_size == oldSize)
            asItWas = true;
        else if (now.st_size > oldSize && now.st_size <= oldSize + bytes.size()
                 && ::ftruncate(descriptor, oldSize) == 0)
            asItWas = ::fsync(descriptor) == 0;
    }
    // Once synced the bytes are on the disk, whatever closing says.
    const KeptErrno kept;
    ::close(descriptor);
    return {written, asItWas};
}

static MakeDirectoryResult directoryFailure(int error)
{
    switch (error) {
    case EEXIST:
    case ENOTEMPTY:
    case ENOTDIR:
        return MakeDirectoryResult::AlreadyExists;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return MakeDirectoryResult::NameRefused;
    default:
        return MakeDirectoryResult::Failed;
    }
}

MakeDirectoryResult makeDirectory(const QString &path)
{
    // A directory made in spite of an error is there on the next try: AlreadyExists, as when
    // another computer made it.
    return retriedThroughShareStall(
        [&] {
            beginFileCall();
            const std::optional<PlacedName> placed = place(path, LastName::AsItIs);
            if (!placed)
                return MakeDirectoryResult::Failed;
            if (::mkdirat(placed->directory(), placed->name(), 0777) == 0)
                return MakeDirectoryResult::Created;
            return directoryFailure(errno);
        },
        [](MakeDirectoryResult result) { return result == MakeDirectoryResult::Failed; });
}

std::optional<QString> makeStagingDirectory(const QString &parent)
{
    beginFileCall();
    const int directory = openDirectory(parent);
    if (directory < 0)
        return std::nullopt;
    std::optional<QString> made;
    const auto attempt = [&] {
        for (int tries = 0; tries < 100; ++tries) {
            const QByteArray name = stagingName();
            if (::mkdirat(directory, name.constData(), 0777) == 0)
                return joinPath(parent, QFile::decodeName(name));
            if (errno != EEXIST) {
                // Made all the same by a share that lost its answer: gone again, or tidied later
                // with the stale ones.
                const KeptErrno kept;
                ::unlinkat(directory, name.constData(), AT_REMOVEDIR);
                break;
            }
        }
        return QString();
    };
    const QString name = retriedThroughShareStall(attempt, [](const QString &name) { return name.isEmpty(); });
    if (!name.isEmpty())
        made = name;
    ::close(directory);
    return made;
}

MakeDirectoryResult moveDirectoryIntoPlace(const QString &from, const QString &to)
{
    beginFileCall();
    const std::optional<PlacedName> source = place(from, LastName::AsItIs);
    const std::optional<PlacedName> target = place(to, LastName::AsItIs);
    if (!source || !target)
        return MakeDirectoryResult::Failed;
    // A share may carry the move out and lose its answer: ours is then where it was sent.
    const auto landed = [&] {
        const KeptErrno kept;
        return !source->entry() && errno == ENOENT && target->entry();
    };
    if (::renameat2(source->directory(), source->name(), target->directory(), target->name(), RENAME_NOREPLACE) == 0)
        return MakeDirectoryResult::Created;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return landed() ? MakeDirectoryResult::Created : directoryFailure(errno);
    // Without the exclusive rename (a network share) a plain one serves: it cannot replace a
    // directory that holds anything, and ours never comes empty.
    if (target->entry())
        return MakeDirectoryResult::AlreadyExists;
    if (::renameat(source->directory(), source->name(), target->directory(), target->name()) == 0 || landed())
        return MakeDirectoryResult::Created;
    const int error = errno;
    // A share may say only "not permitted" when another computer took the name first.
    return target->entry() ? MakeDirectoryResult::AlreadyExists : directoryFailure(error);
}

bool pathExists(const QString &path)
{
    struct stat status {};
    return ::lstat(nativePath(path).constData(), &status) == 0;
}

std::optional<EntryFacts> entryFacts(const QString &path)
{
    return retried([&]() -> std::optional<EntryFacts> {
        beginFileCall();
        const std::optional<PlacedName> placed = place(path, LastName::AsItIs);
        const std::optional<struct stat> entry = placed ? placed->entry() : std::nullopt;
        if (!entry)
            return std::nullopt;
        return EntryFacts{S_ISDIR(entry->st_mode), entry->st_uid == ::geteuid(),
                          qint64(::time(nullptr)) - qint64(entry->st_mtime)};
    });
}

bool isDirectory(const QString &path)
{
    return retried([&] {
        beginFileCall();
        const std::optional<PlacedName> placed = place(path, LastName::FollowTrusted);
        const std::optional<struct stat> entry = placed ? placed->entry() : std::nullopt;
        return entry && S_ISDIR(entry->st_mode);
    });
}

std::optional<QStringList> directoryEntries(const QString &path)
{
    return retried([&]() -> std::optional<QStringList> {
        beginFileCall();
        const int opened = openDirectory(path);
        const int directory = opened < 0 ? -1 : ::openat(opened, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (opened >= 0)
            ::close(opened);
        DIR *listing = directory < 0 ? nullptr : ::fdopendir(directory);
        if (!listing) {
            if (directory >= 0)
                ::close(directory);
            return std::nullopt;
        }
        QStringList names;
        while (const dirent *entry = ::readdir(listing)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names.append(QFile::decodeName(name));
        }
        ::closedir(listing);
        names.sort();
        return names;
    });
}

bool removeFile(const QString &path)
{
    beginFileCall();
    const std::optional<PlacedName> placed = place(path, LastName::AsItIs);
    return placed && ::unlinkat(placed->directory(), placed->name(), 0) == 0;
}

bool removeEmptyDirectory(const QString &path)
{
    beginFileCall();
    const std::optional<PlacedName> placed = place(path, LastName::AsItIs);
    return placed && ::unlinkat(placed->directory(), placed->name(), AT_REMOVEDIR) == 0;
}

bool leadsThroughRefusedLink(const QString &path)
{
    beginFileCall();
    return !place(path, LastName::FollowTrusted) && lastFailureWasRefusedLink();
}

} // namespace platform
