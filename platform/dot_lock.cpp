// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dot_lock.h"

#include "platform/file_trail.h"
#include "platform/path_walk.h"
#include "platform/share_calls.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

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

const char kDirectoryName[] = ".vokalindo-lock";
const char kLockName[] = "held";
const char kOwnerName[] = "owner";
const QByteArray kFirstLine = QByteArrayLiteral("vokalindo-lock\n");

// No turn comes near a minute: one is an addition or a record, a few calls on the slowest share.
constexpr qint64 kStaleAfterSeconds = 60;
constexpr qint64 kSeenUnchangedMs = 1000;

QByteArray randomToken()
{
    return QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

QByteArray firstLineOf(const char *path)
{
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::ReadOnly) ? file.readLine(256).trimmed() : QByteArray();
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

// The lock's directory, made on first use with the start directory's permissions less its sticky
// bit: in a sticky folder only a lock's maker could move it, and a stale one would block the class.
// It stays: removed, another computer's cache of the share would still show it for seconds.
int openLockDirectory(int startDirectory)
{
    int directory = -1;
    // Between making and opening it, another turn may end and remove it.
    for (int attempt = 0; attempt < 100 && directory < 0; ++attempt) {
        struct stat start {};
        if (::mkdirat(startDirectory, kDirectoryName, 0700) == 0 && ::fstat(startDirectory, &start) == 0)
            ::fchmodat(startDirectory, kDirectoryName, start.st_mode & 02777, 0);
        directory = ::openat(startDirectory, kDirectoryName, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (directory < 0 && errno != ENOENT)
            break;
    }
    if (directory < 0)
        qCInfo(lcFiles) << "the folder's lock directory cannot be opened:" << strerror(errno);
    return directory;
}

struct LockFile {
    QByteArray content;      // the owner's lines; empty where there are none
    bool unreadable = false; // there, but it could not be read just now (an I/O error)
    qint64 ageSeconds = 0;
};

QByteArray ownerPath(const QByteArray &lock)
{
    return lock + '/' + kOwnerName;
}

qint64 secondsSince(const struct stat &status)
{
    return qint64(std::time(nullptr)) - qint64(status.st_mtime);
}

constexpr int kReading = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// The lock as it is now; nothing when there is none. A file in its place (the lock of an earlier
// version of the program) holds the owner's lines itself. Whether the lock is there is asked by
// opening it: sshfs answers a stat from a cache that shows a removed lock for seconds.
std::optional<LockFile> readLock(int directory, const QByteArray &lock)
{
    LockFile seen;
    struct stat status {};
    int descriptor = ::openat(directory, ownerPath(lock).constData(), kReading);
    if (descriptor < 0 && errno == ENOTDIR)
        descriptor = ::openat(directory, lock.constData(), kReading);
    if (descriptor < 0 && errno == ENOENT) {
        descriptor = ::openat(directory, lock.constData(), kReading);
        if (descriptor < 0 && errno == ENOENT)
            return std::nullopt;
        if (descriptor >= 0 && ::fstat(descriptor, &status) == 0)
            seen.ageSeconds = secondsSince(status);
        seen.unreadable = descriptor < 0;
        if (descriptor >= 0)
            ::close(descriptor);
        return seen;
    }
    if (descriptor < 0) {
        // A link or a FIFO in its place is no one's lock; anything else may be one.
        seen.unreadable = errno != ELOOP && errno != ENXIO;
        return seen;
    }
    char buffer[1024];
    // Its size as the server has it: a share's cache would cut a longer lock of a new turn short.
    const bool regular = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && currentSize(descriptor) >= 0;
    const ssize_t got = regular ? ::read(descriptor, buffer, sizeof buffer) : 0;
    seen.content = QByteArray(buffer, qMax<ssize_t>(got, 0));
    seen.unreadable = got < 0;
    seen.ageSeconds = secondsSince(status);
    ::close(descriptor);
    return seen;
}

// Removes a lock: its owner's lines, then the lock itself (a file in its place too). On SMB
// neither can go while a waiter has the owner's lines open to read them.
void removeLock(int directory, const QByteArray &lock)
{
    unlinkWaitingAt(directory, ownerPath(lock).constData());
    if (unlinkWaitingAt(directory, lock.constData(), AT_REMOVEDIR) != 0 && errno == ENOTDIR)
        unlinkWaitingAt(directory, lock.constData());
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

enum class Making { Made, DirectoryGone, Failed };

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
    const int descriptor = ::openat(directory, ownerPath(name).constData(),
                                    O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0644);
    if (descriptor >= 0) {
        ::fchmod(descriptor, 0644);
        const bool written = writeAll(descriptor, content);
        // A share may report a failed write only when the file is closed.
        if (::close(descriptor) == 0 && written)
            return Making::Made;
    }
    qCInfo(lcFiles) << "the folder's lock cannot be written:" << strerror(errno);
    removeLock(directory, name);
    return Making::Failed;
}

// Moves a lock judged stale aside, under a name of its own, and removes it. Of several takers only
// the first moves it; should a later one have moved the fresh lock of a new turn instead, it puts
// that back.
void takeOver(int directory, const QByteArray &judged)
{
    const QByteArray aside = "stale-" + randomToken();
    if (::renameat(directory, kLockName, directory, aside.constData()) != 0)
        return;
    const std::optional<LockFile> moved = readLock(directory, aside);
    if (moved && moved->content != judged && parseLockFile(moved->content)
        && ::renameat(directory, aside.constData(), directory, kLockName) == 0)
        return;
    removeLock(directory, aside);
}

// What killed programs left in the lock's directory: locks made and never put in place, moved
// aside and never removed. Anything of ours there made over a minute before our own lock is no
// one's; both times are the server's, so a computer whose clock is off judges them right.
void removeLeftovers(int directory)
{
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
    QList<QByteArray> old;
    while (const dirent *entry = ::readdir(entries)) {
        const QByteArray name(entry->d_name);
        struct stat status {};
        if ((name.startsWith("new-") || name.startsWith("stale-"))
            && ::fstatat(directory, name.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0
            && qint64(ours.st_mtime) - qint64(status.st_mtime) > kStaleAfterSeconds)
            old.append(name);
    }
    ::closedir(entries);
    for (const QByteArray &name : std::as_const(old))
        removeLock(directory, name);
}

} // namespace

QByteArray lockFileText(const LockHolder &holder)
{
    return kFirstLine + "host=" + holder.host + "\nspace=" + holder.space + "\npid=" + QByteArray::number(holder.pid)
           + "\ntoken=" + holder.token + '\n';
}

std::optional<LockHolder> parseLockFile(const QByteArray &text)
{
    const QList<QByteArray> lines = text.split('\n');
    if (lines.size() != 6)
        return std::nullopt;
    const auto field = [&lines](int index, const char *key) { return lines[index].mid(qstrlen(key) + 1); };
    LockHolder holder{field(1, "host"), field(2, "space"), field(3, "pid").toLongLong(), field(4, "token")};
    // Whole and in our own words, or not a lock that anyone could still be writing.
    if (holder.token.isEmpty() || lockFileText(holder) != text)
        return std::nullopt;
    return holder;
}

bool isProvablyStale(const SeenLock &seen, const LockHolder &self, bool (*processGone)(qint64 pid))
{
    const std::optional<LockHolder> &holder = seen.holder;
    if (holder && holder->host == self.host && holder->space == self.space && holder->pid != self.pid && holder->pid > 0
        && processGone(holder->pid))
        return true;
    return seen.ageSeconds > kStaleAfterSeconds && seen.unchangedMs >= kSeenUnchangedMs;
}

DotLock::DotLock(const QString &startDirectory, std::chrono::milliseconds patience)
{
    const LockHolder self = thisProcess();
    m_content = lockFileText(self);
    std::optional<PlacedName> start = placeName(QFile::encodeName(startDirectory), LastName::FollowTrusted);
    if (!start)
        return;
    m_startDirectory = ::openat(start->directory(), start->name(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    m_directory = m_startDirectory < 0 ? -1 : openLockDirectory(m_startDirectory);
    if (m_directory < 0)
        return;
    const QByteArray made = "new-" + self.token;
    Making making = makeLock(m_directory, made, m_content);
    if (making == Making::DirectoryGone) {
        ::close(m_directory);
        m_directory = openLockDirectory(m_startDirectory);
        making = m_directory < 0 ? Making::Failed : makeLock(m_directory, made, m_content);
    }
    if (making != Making::Made)
        return;
    QElapsedTimer waited;
    waited.start();
    QByteArray seenContent;
    QElapsedTimer seenFor;
    for (;;) {
        if (::renameat(m_directory, made.constData(), m_directory, kLockName) == 0) {
            m_held = true;
            removeLeftovers(m_directory);
            return;
        }
        // Refused, most likely because another's lock is there, which shares say in several ways
        // (ENOTEMPTY, EEXIST; sshfs "not permitted"; smbnetfs at times "no such file" while that
        // lock is being moved away): tried again for as long as ours is still there to be moved.
        const int refusal = errno;
        struct stat ours {};
        if (::fstatat(m_directory, made.constData(), &ours, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT) {
            qCInfo(lcFiles) << "the folder's lock cannot be put in place:" << strerror(refusal);
            return;
        }
        const std::optional<LockFile> lock = readLock(m_directory, kLockName);
        if (lock && !lock->unreadable) {
            if (!seenFor.isValid() || lock->content != seenContent) {
                seenContent = lock->content;
                seenFor.start();
            }
            const SeenLock seen{parseLockFile(lock->content), lock->ageSeconds, seenFor.elapsed()};
            if (isProvablyStale(seen, self, processGone)) {
                qCInfo(lcFiles) << "a stale lock of the folder is taken over:" << lock->content;
                takeOver(m_directory, lock->content);
                seenFor.invalidate();
            }
        }
        if (waited.elapsed() >= patience.count()) {
            qCInfo(lcFiles) << "the folder's lock did not come free in" << patience.count() << "ms";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10 + QRandomGenerator::global()->bounded(30)));
    }
    removeLock(m_directory, made);
}

DotLock::~DotLock()
{
    // Only our own: one taken over as stale is another's by now. One that cannot be read back at
    // this moment is still ours. It is emptied in place: on SMB a file that a waiter has open
    // cannot go (the removal waits for it), where a renamed one would fail the waiter's reading.
    // A share's moment of I/O errors is waited out for a few seconds: a lock left in place would
    // keep the class waiting for a minute.
    for (int attempt = 0; m_held && attempt < 60; ++attempt) {
        const std::optional<LockFile> lock = readLock(m_directory, kLockName);
        if (!lock || (!lock->unreadable && lock->content != m_content))
            break;
        if (unlinkWaitingAt(m_directory, ownerPath(kLockName).constData()) == 0 || errno == ENOENT) {
            removeLock(m_directory, kLockName);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (m_directory >= 0)
        ::close(m_directory);
    if (m_startDirectory >= 0)
        ::close(m_startDirectory);
}

} // namespace platform
