// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/vfs.h>
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

// Opens a regular file for reading; a FIFO or a device is refused before it is opened, so that
// opening can never wait for a writer.
int openRegularFileForReading(const QString &path)
{
    struct stat status {};
    if (::stat(nativePath(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return -1;
    const int descriptor = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0)
        return -1;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

std::optional<QByteArray> readFrom(int descriptor, qint64 offset, qint64 maxBytes)
{
    QByteArray bytes;
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

QByteArray randomSuffix()
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(8, '\0');
    for (char &letter : suffix)
        letter = kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
    return suffix;
}

const QByteArray kStagingPrefix = QByteArrayLiteral(".vokalindo-");
const QByteArray kStagingSuffix = QByteArrayLiteral(".tmp");

QByteArray stagingName(const QByteArray &directory)
{
    return directory + '/' + kStagingPrefix + randomSuffix() + kStagingSuffix;
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
// process killed while writing leaves nothing behind.
class StagedFile {
public:
    StagedFile(const QByteArray &directory, const QByteArray &bytes, std::optional<mode_t> mode)
        : m_directory(directory)
    {
        // An unnamed file is given its name through /proc, which a bare chroot may lack.
        if (::access("/proc/self/fd", F_OK) == 0)
            m_descriptor = ::open(directory.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (m_descriptor < 0) {
            // No unnamed files here (a network share): a hidden name of our own, made exclusively.
            for (int attempt = 0; attempt < 100 && m_descriptor < 0; ++attempt) {
                m_name = stagingName(directory);
                m_descriptor = ::open(m_name.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
                if (m_descriptor < 0 && errno != EEXIST)
                    break;
            }
            if (m_descriptor < 0) {
                m_name.clear();
                return;
            }
        }
        m_ready = (!mode || ::fchmod(m_descriptor, *mode) == 0) && writeEverything(m_descriptor, bytes)
                  && ::fsync(m_descriptor) == 0;
    }

    ~StagedFile()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        if (!m_name.isEmpty())
            ::unlink(m_name.constData());
    }

    StagedFile(const StagedFile &) = delete;
    StagedFile &operator=(const StagedFile &) = delete;

    bool ready() const { return m_ready; }

    // Puts the content in the target's place, replacing whatever regular file is there.
    bool replace(const QByteArray &target)
    {
        if (!giveName() || !closeChecked())
            return false;
        if (::rename(m_name.constData(), target.constData()) != 0)
            return false;
        m_name.clear();
        syncDirectory();
        return true;
    }

    // Gives the content the target's name only if that name is free.
    CreateResult createExclusively(const QByteArray &target)
    {
        CreateResult result = CreateResult::Failed;
        if (m_name.isEmpty()) {
            result = linkDescriptor(target);
        } else if (closeChecked()) {
            if (::renameat2(AT_FDCWD, m_name.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) {
                m_name.clear();
                result = CreateResult::Created;
            } else if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
                // A file system without the exclusive rename: a hard link is exclusive too.
                result = ::link(m_name.constData(), target.constData()) == 0 ? CreateResult::Created
                                                                               : creationFailure(errno);
            } else {
                result = creationFailure(errno);
            }
        }
        if (result == CreateResult::Created)
            syncDirectory();
        return result;
    }

private:
    CreateResult linkDescriptor(const QByteArray &target)
    {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_descriptor);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, target.constData(), AT_SYMLINK_FOLLOW) == 0) {
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
            const QByteArray name = stagingName(m_directory);
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0)
                m_name = name;
            else if (errno != EEXIST)
                return false;
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
        const int directory = ::open(m_directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (directory >= 0) {
            ::fsync(directory);
            ::close(directory);
        }
    }

    QByteArray m_directory;
    QByteArray m_name; // the staged file's own name, once it has one
    int m_descriptor = -1;
    bool m_ready = false;
};

QByteArray directoryOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

} // namespace

QString joinPath(const QString &directory, const QString &name)
{
    return directory + QDir::separator() + name;
}

std::optional<QByteArray> readFileStart(const QString &path, qint64 maxBytes)
{
    return readFilePart(path, 0, maxBytes);
}

std::optional<qint64> regularFileSize(const QString &path)
{
    struct stat status {};
    if (::stat(nativePath(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return qint64(status.st_size);
}

std::optional<QByteArray> readFilePart(const QString &path, qint64 offset, qint64 maxBytes)
{
    const int descriptor = openRegularFileForReading(path);
    if (descriptor < 0)
        return std::nullopt;
    std::optional<QByteArray> bytes = readFrom(descriptor, offset, maxBytes);
    ::close(descriptor);
    return bytes;
}

bool writeWholeFileAtomically(const QString &path, const QByteArray &bytes, NewFileAccess access)
{
    QByteArray target = nativePath(path);
    std::optional<mode_t> mode;
    struct stat status {};
    if (::lstat(target.constData(), &status) == 0) {
        if (S_ISLNK(status.st_mode)) {
            // Saved through the link, as editors do; the link itself stays.
            char *resolved = ::realpath(target.constData(), nullptr);
            if (!resolved)
                return false;
            target = resolved;
            std::free(resolved);
            if (::stat(target.constData(), &status) != 0)
                return false;
        }
        if (!S_ISREG(status.st_mode))
            return false;
        mode = status.st_mode & 07777;
    } else if (errno != ENOENT) {
        return false;
    }
    if (access == NewFileAccess::OwnerOnly)
        mode = S_IRUSR | S_IWUSR;
    StagedFile staged(directoryOf(target), bytes, mode);
    return staged.ready() && staged.replace(target);
}

CreateResult createFileExclusively(const QString &path, const QByteArray &bytes)
{
    const QByteArray target = nativePath(path);
    struct stat status {};
    if (::lstat(target.constData(), &status) == 0)
        return CreateResult::AlreadyExists;
    StagedFile staged(directoryOf(target), bytes, std::nullopt);
    if (!staged.ready())
        return CreateResult::Failed;
    const CreateResult result = staged.createExclusively(target);
    // A share may say only "not permitted" when another computer made the file first.
    if (result == CreateResult::Failed && ::lstat(target.constData(), &status) == 0)
        return CreateResult::AlreadyExists;
    return result;
}

bool appendToExistingFile(const QString &path, const QByteArray &bytes)
{
    const int descriptor = ::open(nativePath(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0)
        return false;
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return false;
    }
    // Another program's append must not land between our bytes and our cut-back.
    ::flock(descriptor, LOCK_EX);
    const off_t oldSize = ::lseek(descriptor, 0, SEEK_END);
    const bool written = oldSize >= 0 && writeEverything(descriptor, bytes) && ::fsync(descriptor) == 0;
    if (!written && oldSize >= 0) {
        // Shrinking needs no space, so a full disk cannot refuse it. The size is checked first, so
        // that bytes someone else appended (on a share without locks) are never cut off.
        struct stat now {};
        if (::fstat(descriptor, &now) == 0 && now.st_size > oldSize && now.st_size <= oldSize + bytes.size()
            && ::ftruncate(descriptor, oldSize) == 0)
            ::fsync(descriptor);
    }
    // Once synced the bytes are on the disk, whatever closing says.
    ::close(descriptor);
    return written;
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
    if (::mkdir(nativePath(path).constData(), 0777) == 0)
        return MakeDirectoryResult::Created;
    return directoryFailure(errno);
}

std::optional<QString> makeStagingDirectory(const QString &parent)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = stagingName(nativePath(parent));
        if (::mkdir(name.constData(), 0777) == 0)
            return QFile::decodeName(name);
        if (errno != EEXIST)
            break;
    }
    return std::nullopt;
}

MakeDirectoryResult moveDirectoryIntoPlace(const QString &from, const QString &to)
{
    const QByteArray source = nativePath(from);
    const QByteArray target = nativePath(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return MakeDirectoryResult::Created;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return directoryFailure(errno);
    // Without the exclusive rename (a network share) a plain one serves: it cannot replace a
    // directory that holds anything, and ours never comes empty.
    struct stat status {};
    if (::lstat(target.constData(), &status) == 0)
        return MakeDirectoryResult::AlreadyExists;
    if (::rename(source.constData(), target.constData()) == 0)
        return MakeDirectoryResult::Created;
    const int error = errno;
    // A share may say only "not permitted" when another computer took the name first.
    return ::lstat(target.constData(), &status) == 0 ? MakeDirectoryResult::AlreadyExists : directoryFailure(error);
}

bool isStagingFileName(const QString &name)
{
    return name.size() == kStagingPrefix.size() + 8 + kStagingSuffix.size()
           && name.startsWith(QLatin1String(kStagingPrefix)) && name.endsWith(QLatin1String(kStagingSuffix));
}

bool pathExists(const QString &path)
{
    struct stat status {};
    return ::lstat(nativePath(path).constData(), &status) == 0;
}

bool isDirectory(const QString &path)
{
    return QFileInfo(path).isDir();
}

std::optional<QStringList> directoryEntries(const QString &path)
{
    QDir directory(path);
    if (!directory.exists())
        return std::nullopt;
    return directory.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

bool removeFile(const QString &path)
{
    return ::unlink(nativePath(path).constData()) == 0;
}

bool removeEmptyDirectory(const QString &path)
{
    return ::rmdir(nativePath(path).constData()) == 0;
}

bool isOnSharedFileSystem(const QString &path)
{
    struct statfs status {};
    if (::statfs(nativePath(path).constData(), &status) != 0)
        return true;
    switch (static_cast<unsigned long>(status.f_type)) {
    case 0x6969UL:     // NFS
    case 0x517BUL:     // SMB
    case 0xFF534D42UL: // CIFS
    case 0xFE534D42UL: // SMB2
    case 0x65735546UL: // FUSE (sshfs and the like)
    case 0x00C36400UL: // Ceph
    case 0x01021997UL: // 9P
    case 0x5346414FUL: // AFS
        return true;
    default:
        return false;
    }
}

ExclusiveLock::ExclusiveLock(const QString &path)
{
    m_descriptor = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_descriptor < 0)
        return;
    int result;
    do {
        result = ::flock(m_descriptor, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    m_held = result == 0;
}

ExclusiveLock::~ExclusiveLock()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

} // namespace platform
