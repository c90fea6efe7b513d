// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/dot_lock.h"

#include <QByteArray>
#include <QString>

#include <memory>

// What each system gives the folder lock (platform/dot_lock.h): the steps on the lock's entries,
// made with the calls the system has. The turn itself (making a lock, waiting, judging what is in
// its place) is the same on every system.
namespace platform {

inline constexpr char kLockDirectoryName[] = ".vokalindo-lock";
inline constexpr char kLockName[] = "held";
inline constexpr char kLockOwnerName[] = "owner";

// What stands in the lock's place, judged by what it is.
struct LockEntry {
    enum Kind {
        None,       // nothing
        NoLock,     // anything else than a directory holding a regular owner file: a link, a file, a
                    // FIFO, a directory with something else under the owner's name
        Ownerless,  // a directory without the owner's file: a lock being released, one planted, or a
                    // live one as a share's cache may show it for a moment
        Readable,   // a lock, its owner's lines read
        Unreadable, // a directory whose owner's lines cannot be read (no permission, an I/O error)
    } kind = None;
    QByteArray content;
    QByteArray identity; // the same lock seen again has the same
    qint64 changed = 0;  // when it was last changed, by the server's clock
};

enum class Making { Made, DirectoryGone, Failed };

class LockPlace {
public:
    // The folder and its lock's directory reached, each step waited through a share's moment of
    // silence; nothing when they cannot be (`failure` says why).
    static std::unique_ptr<LockPlace> open(const QString &startDirectory, LockFailure &failure);
    virtual ~LockPlace() = default;

    // The lock's directory reached again, after it was removed by hand.
    virtual bool reopen(LockFailure &failure) = 0;
    // A lock made whole under a name of this turn's own: a directory holding the owner's lines.
    virtual Making makeLock(const QByteArray &name, const QByteArray &content) = 0;
    // Renames the lock of that name onto "held", which every server refuses while another lock is
    // there. errno says why it did not.
    virtual bool putInPlace(const QByteArray &name) = 0;
    // Whether nothing of that name is there any more.
    virtual bool isGone(const QByteArray &name) = 0;
    // What stands in the lock's place now, never followed through a link.
    virtual LockEntry readLock() = 0;
    // Moves what stands in the lock's place aside, under a name of its own, and removes it. Of
    // several takers only the first moves it; should a later one have moved the fresh lock of a
    // new turn instead, it puts that back.
    virtual void takeOver(const LockEntry &judged) = 0;
    // Removes an empty directory in the lock's place; whether nothing is there now.
    virtual bool removeOwnerless() = 0;
    // Removes a lock of ours that never came into place.
    virtual void removeMade(const QByteArray &name) = 0;
    // Tidies what killed programs left in the lock's directory, never waiting.
    virtual void removeLeftovers() = 0;
    // Ends our turn: our lock, the one whose owner's lines are `ours`, emptied and removed.
    virtual void release(const QByteArray &ours) = 0;
};

// A new turn's token, that no other turn has.
QByteArray randomToken();
// This process, as a lock's owner file names it.
LockHolder thisProcess();
// Whether a process of this computer is gone.
bool processGone(qint64 pid);

} // namespace platform
