// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dot_lock.h"

#include "platform/file_trail.h"
#include "platform/lock_place.h"
#include "platform/share_stall.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QRandomGenerator>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <thread>

// A turn at the folder: the same on every system, made of the steps each system's LockPlace takes.
namespace platform {

namespace {

const QByteArray kFirstLine = QByteArrayLiteral("vokalindo-lock\n");
constexpr qint64 kSeenUnchangedMs = 1000;

// How long this process has seen each lock unchanged, over all its turns: a lock dated in the
// future by another clock (or by hand) is judged by this process's own clock instead.
qint64 msSeenByThisProcess(const QByteArray &identity)
{
    static QMutex mutex;
    static QHash<QByteArray, QElapsedTimer> seen;
    const QMutexLocker locker(&mutex);
    if (seen.size() > 1000)
        seen.clear();
    QElapsedTimer &since = seen[identity];
    if (!since.isValid())
        since.start();
    return since.elapsed();
}

} // namespace

QByteArray randomToken()
{
    return QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

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
    return seen.ageSeconds > kLockStaleAfterSeconds && seen.unchangedMs >= kSeenUnchangedMs;
}

DotLock::DotLock(const QString &startDirectory, std::chrono::milliseconds patience)
{
    const LockHolder self = thisProcess();
    m_content = lockFileText(self);
    m_place = LockPlace::open(startDirectory, m_failure);
    if (!m_place)
        return;
    // Each try under a name of its own: what a failed one could not remove is a leftover, tidied
    // later, and never in the next one's way.
    QByteArray made = "new-" + self.token;
    int tries = 0;
    Making making = retriedThroughShareStall(
        [&] {
            if (tries++ > 0)
                made = "new-" + self.token + '-' + QByteArray::number(tries);
            return m_place->makeLock(made, m_content);
        },
        [](Making making) { return making == Making::Failed; });
    if (making == Making::DirectoryGone)
        making = m_place->reopen(m_failure) ? m_place->makeLock(made, m_content) : Making::Failed;
    if (making != Making::Made) {
        if (making == Making::DirectoryGone)
            qCInfo(lcFiles) << "the folder's lock directory went away twice while the lock was made";
        return;
    }
    QElapsedTimer waited;
    waited.start();
    QByteArray seenIdentity;
    QElapsedTimer seenFor;
    for (;;) {
        if (m_place->putInPlace(made)) {
            m_held = true;
            m_failure = LockFailure::None;
            m_place->removeLeftovers();
            return;
        }
        // Refused, most likely because another's lock is there, which shares say in several ways
        // (ENOTEMPTY, EEXIST; sshfs "not permitted"; smbnetfs at times "no such file" while that
        // lock is being moved away), or because something else stands there (ENOTDIR): tried again
        // for as long as ours is still there to be moved.
        const int refusal = errno;
        const bool moved = m_place->isGone(made);
        const LockEntry lock = m_place->readLock();
        // A share may carry the rename out and lose its answer: the lock in place is ours then.
        if (moved && lock.kind == LockEntry::Readable && lock.content == m_content) {
            m_held = true;
            m_failure = LockFailure::None;
            m_place->removeLeftovers();
            return;
        }
        if (moved) {
            qCInfo(lcFiles) << "the folder's lock cannot be put in place:" << std::strerror(refusal);
            return;
        }
        if (lock.kind == LockEntry::NoLock) {
            qCInfo(lcFiles) << "something that is no lock stands in the folder lock's place; it is moved aside";
            m_place->takeOver(lock);
        } else if (lock.kind == LockEntry::Ownerless && m_place->removeOwnerless()) {
            // Gone: the place is tried again after the pause.
        } else if (lock.kind != LockEntry::None) {
            // What stays without its owner's lines is judged as a lock whose lines are not whole.
            if (!seenFor.isValid() || lock.identity != seenIdentity) {
                seenIdentity = lock.identity;
                seenFor.start();
            }
            // Dated by a clock ahead of ours, or by hand: seen unchanged for as long counts instead.
            const qint64 age =
                std::max(qint64(std::time(nullptr)) - lock.changed, msSeenByThisProcess(lock.identity) / 1000);
            const SeenLock seen{lock.kind == LockEntry::Readable ? parseLockFile(lock.content) : std::nullopt, age,
                                seenFor.elapsed()};
            if (isProvablyStale(seen, self, processGone)) {
                qCInfo(lcFiles) << "a stale lock of the folder is taken over:" << lock.content;
                m_place->takeOver(lock);
                seenFor.invalidate();
            }
        }
        if (waited.elapsed() >= patience.count()) {
            qCInfo(lcFiles) << "the folder's lock did not come free in" << patience.count() << "ms";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10 + QRandomGenerator::global()->bounded(30)));
    }
    m_place->removeMade(made);
}

DotLock::~DotLock()
{
    if (m_held)
        m_place->release(m_content);
}

} // namespace platform
