// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/lock_place.h"

#include "platform/file_trail.h"
#include "platform/path_walk_posix.h"
#include "platform/share_calls_posix.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {

QByteArray firstLineOf(const char *path)
{
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::ReadOnly) ? file.readLine(256).trimmed() : QByteArray();
}

// Tidying what killed programs left never holds a turn up for long, however much there is.
constexpr qint64 kLeftoverBudgetMs = 200;

// An entry of the lock's directory opened as a directory, never through a link.
int openEntryDirectory(int directory, const char *name)
{
    return ::openat(directory, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

using Unlink = int (*)(int, const char *, int);

int unlinkAtOnce(int directory, const char *name, int flags)
{
    return ::unlinkat(directory, name, flags);
}

// Removes an entry of the lock's directory without following anything: a lock (a directory) loses
// its owner's lines and then goes itself; anything else in a lock's place (a link, a file) goes
// itself, and what a link names is never touched. On SMB neither a file that a waiter has open nor
// its directory can go at once: `unlink` says whether to wait for that.
int removeEntry(int directory, const char *name, Unlink unlink)
{
    const int entry = openEntryDirectory(directory, name);
    if (entry < 0)
        return errno == ENOTDIR || errno == ELOOP ? unlink(directory, name, 0) : -1;
    unlink(entry, kLockOwnerName, 0);
    ::close(entry);
    return unlink(directory, name, AT_REMOVEDIR);
}

int unlinkWaiting(int directory, const char *name, int flags)
{
    return unlinkWaitingAt(directory, name, flags);
}

// The lock's directory, open for the *at calls. In a folder that other accounts may write it must be
// the teacher's (or root's): a learner who made it could close it to the class, and the sticky
// folder would keep the teacher from removing it. Made here only in a folder no one else may write,
// or by the folder's owner, with the folder's permissions less its sticky bit (in a sticky lock
// directory only a lock's maker could move it, and a stale one would block the class).
int openLockDirectory(int startDirectory, LockFailure &failure)
{
    struct stat start {};
    if (::fstat(startDirectory, &start) != 0) {
        qCInfo(lcFiles) << "the folder's own status cannot be read:" << strerror(errno);
        return -1;
    }
    const bool shared = othersMayWriteIn(start);
    if (!shared || start.st_uid == ::geteuid()) {
        if (::mkdirat(startDirectory, kLockDirectoryName, 0700) == 0)
            ::fchmodat(startDirectory, kLockDirectoryName, start.st_mode & 02777, 0);
        else if (isMomentaryShareError(errno))
            return -1; // to be tried again
    }
    const int directory = openEntryDirectory(startDirectory, kLockDirectoryName);
    const bool missing = directory < 0 && (errno == ENOENT || errno == ENOTDIR || errno == ELOOP);
    struct stat status {};
    const bool opened = directory >= 0 && ::fstat(directory, &status) == 0;
    if (shared && (missing || (opened && status.st_uid != 0 && status.st_uid != start.st_uid))) {
        qCInfo(lcFiles) << "the folder's lock directory is missing, a link, or a learner's";
        failure = LockFailure::NotTheTeachers;
        if (directory >= 0)
            ::close(directory);
        return -1;
    }
    if (!opened) {
        qCInfo(lcFiles) << "the folder's lock directory cannot be opened:" << strerror(errno);
        if (directory >= 0)
            ::close(directory);
        return -1;
    }
    return directory;
}

// The time a lock was last changed. Its change time is the server's own and no account can set it,
// unlike its modification time, which anyone may date in the future on a file of theirs.
qint64 lastChanged(const struct stat &status)
{
    if (status.st_ctime <= 0) // a share that does not tell
        return qint64(status.st_mtime);
    return std::min(qint64(status.st_mtime), qint64(status.st_ctime));
}

QByteArray identityOf(const struct stat &status, const QByteArray &content)
{
    return QByteArray::number(quint64(status.st_dev)) + ':' + QByteArray::number(quint64(status.st_ino)) + ':'
           + QByteArray::number(qint64(status.st_mtime)) + ':' + QByteArray::number(qint64(status.st_ctime)) + ':'
           + content;
}

// A lock opened as a directory: its owner's lines, read as the server has them (a share's cache
// would cut a longer lock of a new turn short).
LockEntry readOpenedLock(int lock)
{
    LockEntry seen;
    struct stat status {};
    if (::fstat(lock, &status) != 0) {
        // Not even its times are known: taken as changed just now.
        seen.kind = LockEntry::Unreadable;
        seen.changed = qint64(std::time(nullptr));
        seen.identity = "unknown";
        return seen;
    }
    const int owner = ::openat(lock, kLockOwnerName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (owner < 0) {
        seen.kind = errno == ENOENT                                        ? LockEntry::Ownerless
                    : errno == ELOOP || errno == ENOTDIR || errno == ENXIO ? LockEntry::NoLock
                                                                           : LockEntry::Unreadable;
    } else {
        struct stat file {};
        if (::fstat(owner, &file) != 0 || currentSize(owner) < 0) {
            seen.kind = LockEntry::Unreadable;
        } else if (!S_ISREG(file.st_mode)) {
            seen.kind = LockEntry::NoLock;
        } else {
            char buffer[1024];
            const ssize_t got = ::read(owner, buffer, sizeof buffer);
            seen.kind = got < 0 ? LockEntry::Unreadable : LockEntry::Readable;
            seen.content = QByteArray(buffer, qMax<ssize_t>(got, 0));
            status = file;
        }
        ::close(owner);
    }
    seen.changed = lastChanged(status);
    seen.identity = identityOf(status, seen.content);
    return seen;
}

// The lock as it is now, never followed through a link. Whether it is there is asked by opening
// it: sshfs answers a stat from a cache that shows a removed lock for seconds.
LockEntry readLock(int directory, const char *name)
{
    const int lock = openEntryDirectory(directory, name);
    if (lock < 0) {
        LockEntry seen;
        if (errno == ENOTDIR || errno == ELOOP)
            seen.kind = LockEntry::NoLock;
        else if (errno != ENOENT)
            seen = {LockEntry::Unreadable, {}, "unknown", qint64(std::time(nullptr))};
        return seen;
    }
    const LockEntry seen = readOpenedLock(lock);
    ::close(lock);
    return seen;
}

bool writeAll(int descriptor, const QByteArray &content)
{
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t wrote = ::write(descriptor, content.constData() + done, size_t(content.size() - done));
        if (wrote <= 0 && !(wrote < 0 && errno == EINTR))
            return false;
        done += qMax<ssize_t>(wrote, 0);
    }
    return true;
}

// A lock made whole under a name of this turn's own: a directory holding the owner's lines. It
// becomes the folder's lock by a rename onto "held", which every share's server refuses while
// another lock, never empty, is there. (Neither an O_CREAT|O_EXCL file nor mkdir serves: through
// libsmbclient two computers can both create one file, and a lock directory made empty would show
// empty in sshfs's cache for seconds after its owner's lines were written.)
Making makeLock(int directory, const QByteArray &name, const QByteArray &content)
{
    if (::mkdirat(directory, name.constData(), 0700) != 0) {
        // The lock's directory was removed by hand.
        if (errno == ENOENT)
            return Making::DirectoryGone;
        qCInfo(lcFiles) << "the folder's lock cannot be made:" << strerror(errno);
        return Making::Failed;
    }
    // Every account that waits must be able to read whose it is, and one that takes it over as
    // stale to empty it: it is opened as far as the lock's directory is.
    struct stat parent {};
    if (::fstat(directory, &parent) == 0)
        ::fchmodat(directory, name.constData(), parent.st_mode & 02777, 0);
    const int made = openEntryDirectory(directory, name.constData());
    const int descriptor = made < 0 ? -1
                                    : ::openat(made, kLockOwnerName,
                                               O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0644);
    if (made >= 0)
        ::close(made);
    if (descriptor >= 0) {
        ::fchmod(descriptor, 0644);
        const bool written = writeAll(descriptor, content);
        // A share may report a failed write only when the file is closed.
        if (::close(descriptor) == 0 && written)
            return Making::Made;
    }
    qCInfo(lcFiles) << "the folder's lock cannot be written:" << strerror(errno);
    const KeptErrno kept;
    removeEntry(directory, name.constData(), unlinkWaiting);
    return Making::Failed;
}

// Moves what stands in the lock's place aside, under a name of its own, and removes it. Of several
// takers only the first moves it; should a later one have moved the fresh lock of a new turn
// instead, it puts that back.
void takeOver(int directory, const LockEntry &judged)
{
    const QByteArray aside = "stale-" + randomToken();
    if (::renameat(directory, kLockName, directory, aside.constData()) != 0)
        return;
    const LockEntry moved = readLock(directory, aside.constData());
    if (moved.kind == LockEntry::Readable && moved.identity != judged.identity && parseLockFile(moved.content)
        && ::renameat(directory, aside.constData(), directory, kLockName) == 0)
        return;
    removeEntry(directory, aside.constData(), unlinkAtOnce);
}

// A directory without its owner's lines is removed at once if it is empty: a lock being released,
// or an empty one planted. That cannot touch a lock put there since, which always holds its owner's
// lines. It is never moved aside at once: through a share's cache a live lock can look so for a
// moment. Whether it is gone.
bool removeOwnerless(int directory)
{
    return ::unlinkat(directory, kLockName, AT_REMOVEDIR) == 0 || errno == ENOENT;
}

// Removes the directory of our lock, its owner's lines gone. On SMB it cannot go while a waiter
// still has those lines open, which is waited out for two seconds; but once another's lock stands
// in its place (a waiter cleared our empty directory and the next turn began), nothing is ours.
void removeEmptiedLock(int directory, const QByteArray &ours)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (::unlinkat(directory, kLockName, AT_REMOVEDIR) == 0 || errno != ENOTEMPTY)
            return;
        const LockEntry now = readLock(directory, kLockName);
        if (now.kind == LockEntry::None || (now.kind == LockEntry::Readable && now.content != ours))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// What killed programs left in the lock's directory: locks made and never put in place, moved aside
// and never removed. Anything there made over a minute before our own lock is no one's; both times
// are the server's, so a computer whose clock is off judges them right. What cannot go at once
// (another account's, or a share's file still open) is left for a later turn: this never waits, and
// stops after a fraction of a second however much there is.
void removeLeftovers(int directory)
{
    QElapsedTimer spent;
    spent.start();
    struct stat ours {};
    if (::fstatat(directory, kLockName, &ours, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    const int listing = ::openat(directory, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *entries = listing < 0 ? nullptr : ::fdopendir(listing);
    if (!entries) {
        if (listing >= 0)
            ::close(listing);
        return;
    }
    while (spent.elapsed() < kLeftoverBudgetMs) {
        const dirent *entry = ::readdir(entries);
        if (!entry)
            break;
        const QByteArray name(entry->d_name);
        struct stat status {};
        if ((name.startsWith("new-") || name.startsWith("stale-"))
            && ::fstatat(directory, name.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0
            && qint64(ours.st_ctime) - lastChanged(status) > kLockStaleAfterSeconds)
            removeEntry(directory, name.constData(), unlinkAtOnce);
    }
    ::closedir(entries);
}

// The lock's entries, reached relative to the lock's directory and never through a link.
class PosixLockPlace : public LockPlace {
public:
    PosixLockPlace(int startDirectory, int directory) : m_startDirectory(startDirectory), m_directory(directory) {}
    ~PosixLockPlace() override
    {
        if (m_directory >= 0)
            ::close(m_directory);
        ::close(m_startDirectory);
    }
    PosixLockPlace(const PosixLockPlace &) = delete;
    PosixLockPlace &operator=(const PosixLockPlace &) = delete;

    bool reopen(LockFailure &failure) override
    {
        if (m_directory >= 0)
            ::close(m_directory);
        m_directory = openLockDirectory(m_startDirectory, failure);
        return m_directory >= 0;
    }

    Making makeLock(const QByteArray &name, const QByteArray &content) override
    {
        return platform::makeLock(m_directory, name, content);
    }

    bool putInPlace(const QByteArray &name) override
    {
        return ::renameat(m_directory, name.constData(), m_directory, kLockName) == 0;
    }

    bool isGone(const QByteArray &name) override
    {
        struct stat status {};
        return ::fstatat(m_directory, name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT;
    }

    LockEntry readLock() override { return platform::readLock(m_directory, kLockName); }
    void takeOver(const LockEntry &judged) override { platform::takeOver(m_directory, judged); }
    bool removeOwnerless() override { return platform::removeOwnerless(m_directory); }
    void removeMade(const QByteArray &name) override { removeEntry(m_directory, name.constData(), unlinkWaiting); }
    void removeLeftovers() override { platform::removeLeftovers(m_directory); }

    // Only our own: one taken over as stale is another's by now. One that cannot be read back at
    // this moment is still ours. It is emptied in place: on SMB a file that a waiter has open
    // cannot go (the removal waits for it), where a renamed one would fail the waiter's reading.
    // A share's moment of I/O errors is waited out for a few seconds: a lock left in place would
    // keep the class waiting for a minute.
    void release(const QByteArray &ours) override
    {
        for (int attempt = 0; attempt < 60; ++attempt) {
            const int lock = openEntryDirectory(m_directory, kLockName);
            if (lock < 0 && errno != EIO)
                break;
            bool emptied = false;
            if (lock >= 0) {
                const LockEntry seen = readOpenedLock(lock);
                if (seen.kind != LockEntry::Unreadable && seen.content != ours) {
                    ::close(lock);
                    break;
                }
                emptied = unlinkWaitingAt(lock, kLockOwnerName) == 0 || errno == ENOENT;
                ::close(lock);
            }
            if (emptied) {
                removeEmptiedLock(m_directory, ours);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

private:
    int m_startDirectory;
    int m_directory; // the lock's directory, open for the *at calls
};

} // namespace

std::unique_ptr<LockPlace> LockPlace::open(const QString &startDirectory, LockFailure &failure)
{
    const std::optional<PlacedName> start =
        retriedThroughShareStall([&] { return placeName(QFile::encodeName(startDirectory), LastName::FollowTrusted); },
                                 [](const std::optional<PlacedName> &placed) { return !placed; });
    if (!start) {
        qCInfo(lcFiles) << "the folder cannot be reached for its lock:" << strerror(errno);
        return nullptr;
    }
    const int folder = ::openat(start->directory(), start->name(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        qCInfo(lcFiles) << "the folder cannot be opened for its lock:" << strerror(errno);
        return nullptr;
    }
    const int directory = retriedThroughShareStall([&] { return openLockDirectory(folder, failure); },
                                                   [](int directory) { return directory < 0; });
    if (directory < 0) {
        ::close(folder);
        return nullptr;
    }
    return std::make_unique<PosixLockPlace>(folder, directory);
}

LockHolder thisProcess()
{
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    char space[64] = {};
    const ssize_t length = ::readlink("/proc/self/ns/pid", space, sizeof space - 1);
    return {QByteArray(host),
            firstLineOf("/proc/sys/kernel/random/boot_id") + ' ' + QByteArray(space, qMax<ssize_t>(length, 0)),
            qint64(::getpid()), randomToken()};
}

bool processGone(qint64 pid)
{
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

} // namespace platform
