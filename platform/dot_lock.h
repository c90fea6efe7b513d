// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

namespace platform {

// Why a DotLock is not held.
enum class LockFailure {
    None,
    NotFree,        // another's turn did not end in time, or the lock could not be made
    NotTheTeachers, // in a folder others may write, the lock's directory is missing, a link, or a
                    // learner's: only its owner (the teacher) or root may make it
};

class LockPlace;

// Turns for the programs of every computer that shares a start directory, kept by the folder
// itself: the directory ".vokalindo-lock/held", with the file "owner" inside naming the computer
// and the process that holds the turn. It is made whole under a name of its own and renamed into
// place, which the server of every share refuses while another lock is there. A lock is taken over
// only when it is provably stale (see isProvablyStale); anything else in its place (a link, a file,
// a directory whose owner is no regular file) is no lock and is moved aside at once, and an empty
// directory there is removed at once. Every lock entry is
// reached relative to the lock's directory and never through a link. The lock lives in a directory
// of its own, because in a sticky class folder no one could move a stale lock of another account
// aside; in a folder that others may write, that directory must be the teacher's or root's. Waiting
// is bounded: after `patience`, held() is false and nothing has been touched.
class DotLock {
public:
    static constexpr std::chrono::seconds kPatience{10};

    explicit DotLock(const QString &startDirectory, std::chrono::milliseconds patience = kPatience);
    ~DotLock();
    DotLock(const DotLock &) = delete;
    DotLock &operator=(const DotLock &) = delete;

    bool held() const { return m_held; }
    LockFailure failure() const { return m_failure; }

private:
    std::unique_ptr<LockPlace> m_place; // the lock's entries, as this system reaches them
    QByteArray m_content;               // what our owner file holds: the computer, this process, this turn's token
    bool m_held = false;
    LockFailure m_failure = LockFailure::NotFree;
};

// No turn comes near a minute: one is an addition or a record, a few calls on the slowest share.
inline constexpr qint64 kLockStaleAfterSeconds = 60;

// Whoever a lock's owner file names as its holder.
struct LockHolder {
    QByteArray host;  // the computer's name
    QByteArray space; // its boot and process-ID namespace: two computers of one system image differ
    qint64 pid = 0;
    QByteArray token; // this turn's, so that a holder knows its own file
};
QByteArray lockFileText(const LockHolder &holder);
std::optional<LockHolder> parseLockFile(const QByteArray &text);

// A lock as a waiter has seen it.
struct SeenLock {
    std::optional<LockHolder> holder; // nothing when its owner's lines are not whole
    qint64 ageSeconds = 0;            // since it was last changed, by this computer's clock, or for as
                                      // long as this process has seen it unchanged, whichever is more
    qint64 unchangedMs = 0;           // how long this waiter has seen it as it is
};

// Whether a lock is stale for sure: its holder is a process of this computer that is gone; or it
// has not been written for over a minute, which no turn comes near (the rule for another computer's
// lock, and for one without whole owner's lines, which only a hand or a share's cache can show).
// The second needs the waiter to have seen it unchanged for a moment, so that a computer whose
// clock runs ahead cannot take a turn that is just ending.
bool isProvablyStale(const SeenLock &seen, const LockHolder &self, bool (*processGone)(qint64 pid));

} // namespace platform
