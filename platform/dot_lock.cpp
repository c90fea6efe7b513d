// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dot_lock.h"

#include <QList>

// The lock's owner file and when a lock is stale: the same on every system.
namespace platform {

namespace {

const QByteArray kFirstLine = QByteArrayLiteral("vokalindo-lock\n");
constexpr qint64 kSeenUnchangedMs = 1000;

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
    return seen.ageSeconds > kLockStaleAfterSeconds && seen.unchangedMs >= kSeenUnchangedMs;
}

} // namespace platform
