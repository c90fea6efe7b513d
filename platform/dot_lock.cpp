// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dot_lock.h"

#include "platform/file_trail.h"
#include "platform/path_walk.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {

const char kDirectoryName[] = ".vokalindo-lock";
const char kLockName[] = "held";
const QByteArray kFirstLine = QByteArrayLiteral("vokalindo-lock\n");

// No turn comes near a minute: one is an addition or a record, a few calls on the slowest share.
constexpr qint64 kStaleAfterSeconds = 60;
constexpr qint64 kSeenUnchangedMs = 1000;
// Making the lock and writing it are one call apart.
constexpr qint64 kUnwrittenAfterMs = 2000;

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
    QByteArray content;      // empty for what is no regular file
    bool unreadable = false; // there, but it could not be read just now (an I/O error)
    qint64 ageSeconds = 0;
};

// The lock file as it is now; nothing when there is none.
std::optional<LockFile> readLock(int directory, const char *name)
{
    struct stat status {};
    const int descriptor = ::openat(directory, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    LockFile lock;
    if (descriptor >= 0) {
        char buffer[1024];
        const bool regular = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
        const ssize_t got = regular ? ::read(descriptor, buffer, sizeof buffer) : 0;
        lock.content = QByteArray(buffer, qMax<ssize_t>(got, 0));
        lock.unreadable = got < 0;
        ::close(descriptor);
    } else if (errno == ENOENT) {
        return std::nullopt;
    } else {
        // A link or a FIFO in its place is no one's lock; anything else may be one.
        lock.unreadable = errno != ELOOP && errno != ENXIO;
        if (::fstatat(directory, name, &status, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT)
            return std::nullopt;
    }
    lock.ageSeconds = qint64(std::time(nullptr)) - qint64(status.st_mtime);
    return lock;
}

enum class Making { Made, Busy, DirectoryGone, Failed };

Making createLock(int directory, const QByteArray &content)
{
    const int descriptor =
        ::openat(directory, kLockName, O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        // The directory was removed at the end of another's turn.
        if (errno == ENOENT)
            return Making::DirectoryGone;
        // Another's lock. Some shares refuse with another error when the file is there (sshfs
        // says "not permitted"); a moment of I/O errors on a share is waited out too, and so is a
        // lock directory that another account has just made and not yet opened to the folder.
        struct stat entry {};
        const bool busy = errno == EEXIST || errno == EIO || errno == ETIMEDOUT || errno == EAGAIN || errno == EINTR
                          || errno == EACCES || ::fstatat(directory, kLockName, &entry, AT_SYMLINK_NOFOLLOW) == 0;
        if (!busy)
            qCInfo(lcFiles) << "the folder's lock cannot be made:" << strerror(errno);
        return busy ? Making::Busy : Making::Failed;
    }
    // Every account that waits must be able to read whose it is.
    ::fchmod(descriptor, 0644);
    struct stat made {};
    ::fstat(descriptor, &made);
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t wrote = ::write(descriptor, content.constData() + done, size_t(content.size() - done));
        if (wrote <= 0 && !(wrote < 0 && errno == EINTR))
            break;
        done += qMax<ssize_t>(wrote, 0);
    }
    const bool written = done == content.size();
    // A share may report a failed write only when the file is closed.
    if (::close(descriptor) == 0 && written)
        return Making::Made;
    struct stat now {};
    if (::fstatat(directory, kLockName, &now, AT_SYMLINK_NOFOLLOW) == 0 && now.st_ino == made.st_ino)
        ::unlinkat(directory, kLockName, 0);
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
    const std::optional<LockFile> moved = readLock(directory, aside.constData());
    if (moved && moved->content != judged && parseLockFile(moved->content))
        createLock(directory, moved->content);
    ::unlinkat(directory, aside.constData(), 0);
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
    if (seen.ageSeconds > kStaleAfterSeconds && seen.unchangedMs >= kSeenUnchangedMs)
        return true;
    return !holder && seen.unchangedMs >= kUnwrittenAfterMs;
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
    QElapsedTimer waited;
    waited.start();
    QByteArray seenContent;
    QElapsedTimer seenFor;
    for (;;) {
        const Making made = createLock(m_directory, m_content);
        // A waiter may have judged our lock unwritten and moved it aside before we wrote it.
        const std::optional<LockFile> lock = readLock(m_directory, kLockName);
        if (made == Making::Made && lock && (lock->unreadable || lock->content == m_content)) {
            m_held = true;
            return;
        }
        if (made == Making::Failed)
            return;
        if (made == Making::DirectoryGone) {
            ::close(m_directory);
            m_directory = openLockDirectory(m_startDirectory);
            if (m_directory < 0)
                return;
        }
        if (lock && !lock->unreadable) {
            if (!seenFor.isValid() || lock->content != seenContent) {
                seenContent = lock->content;
                seenFor.start();
            }
            const SeenLock seen{parseLockFile(lock->content), lock->ageSeconds, seenFor.elapsed()};
            if (made == Making::Busy && isProvablyStale(seen, self, processGone)) {
                qCInfo(lcFiles) << "a stale lock of the folder is taken over:" << lock->content;
                takeOver(m_directory, lock->content);
                seenFor.invalidate();
            }
        }
        if (waited.elapsed() >= patience.count()) {
            qCInfo(lcFiles) << "the folder's lock did not come free in" << patience.count() << "ms";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10 + QRandomGenerator::global()->bounded(30)));
    }
}

DotLock::~DotLock()
{
    // Only our own: one taken over as stale is another's by now. One that cannot be read back at
    // this moment is still ours.
    const std::optional<LockFile> lock = m_held ? readLock(m_directory, kLockName) : std::nullopt;
    if (lock && (lock->unreadable || lock->content == m_content))
        ::unlinkat(m_directory, kLockName, 0);
    if (m_directory >= 0)
        ::close(m_directory);
    if (m_startDirectory >= 0)
        ::close(m_startDirectory);
}

} // namespace platform
