// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Reading and writing whole files, appending, directories. Nothing here knows what the files mean.
// Every write is checked down to the disk: a call reports success only once the bytes are synced,
// so a full disk or a failing device is never reported as success. Every path is walked by the link
// rule (platform/path_walk_posix.h, platform/path_walk_windows.h), so a link that another account
// planted never leads a read or a write anywhere.
namespace platform {

QString joinPath(const QString &directory, const QString &name);

// The first `maxBytes` bytes of a regular file (all of it when it is shorter). Nothing for what is
// not a regular file (a directory, a FIFO, a device) or cannot be read. Reading stops at the bound,
// so a huge file chosen by mistake costs no more than a small one.
std::optional<QByteArray> readFileStart(const QString &path, qint64 maxBytes);

// The size of a regular file; nothing for anything else.
std::optional<qint64> regularFileSize(const QString &path);

// At most `maxBytes` bytes of a regular file from `offset` on.
std::optional<QByteArray> readFilePart(const QString &path, qint64 offset, qint64 maxBytes);

// Who may read a file that a whole-file write makes.
enum class NewFileAccess {
    AsBefore,  // an existing file's mode is kept; a new one gets what the umask leaves
    OwnerOnly, // readable and writable by this account alone (0600), whatever was there before
};

// Replaces the file with the bytes: they go to a new file beside it, are synced, and only then take
// the old one's place, so the old content stays whole if anything fails. Only a file this account
// may write is replaced. A symbolic link of this account or root is written through to the regular
// file it names; another account's is refused. Anything else (a directory, a device, a FIFO, a
// socket, a link to one, a dangling link) is refused and left alone.
bool writeWholeFileAtomically(const QString &path, const QByteArray &bytes,
                              NewFileAccess access = NewFileAccess::AsBefore);

enum class CreateResult {
    Created,
    AlreadyExists,
    NameRefused, // the file system cannot hold such a name
    Failed,
};

// Creates the file holding the bytes, only if nothing of that name exists. The file appears whole
// or not at all, and an existing one is never replaced, even by another process creating it at the
// same moment. On a share with neither an exclusive rename nor hard links (SMB) the name holds an
// empty file for a moment before; a maker killed then leaves it so.
CreateResult createFileExclusively(const QString &path, const QByteArray &bytes);

// Adds bytes at the end of an existing regular file without rewriting what is there. A write that
// fails part-way is cut back, so the file keeps exactly its old bytes. Appends of programs on this
// computer take turns; one that waits for its turn longer than a few seconds fails. The end is the
// one the file's server has now: between computers, appends are safe inside a DotLock's turn.
bool appendToExistingFile(const QString &path, const QByteArray &bytes);

enum class MakeDirectoryResult {
    Created,
    AlreadyExists, // an entry of that name is there (a directory, a file, a link)
    NameRefused,   // the file system cannot hold such a name (too long, a character it refuses)
    Failed,        // anything else: no space, a read-only file system, an I/O error, no parent
};
MakeDirectoryResult makeDirectory(const QString &path);

// The name of a file that a write killed half-way (on a file system without unnamed files) may
// leave beside its target: ".vokalindo-XXXXXXXX.tmp".
bool isStagingFileName(const QString &name);

// A new, empty directory with a hidden name of its own inside `parent`, where a directory's content
// is made before it appears under its real name. Nothing when it cannot be made.
std::optional<QString> makeStagingDirectory(const QString &parent);

// Gives a directory its real name, only if no entry of that name exists: Created when it now has
// it, AlreadyExists, NameRefused or Failed as for makeDirectory. Two processes doing it at once
// cannot both succeed, as long as the directory is not empty.
MakeDirectoryResult moveDirectoryIntoPlace(const QString &from, const QString &to);

bool pathExists(const QString &path);

// What the entry itself is (a link is not followed), for deciding whether it may be tidied away.
struct EntryFacts {
    bool directory = false;
    bool ownedByThisAccount = false;
    qint64 secondsSinceChange = 0;
};
std::optional<EntryFacts> entryFacts(const QString &path);

// Whether the last call of this thread above failed because of a link that someone else may have
// planted: a symbolic link that belongs neither to this account nor to root, or a file with a second
// hard link in a directory that is another account's or that others can write.
bool lastFailureWasRefusedLink();
// Whether the way to the path, its last name included, passes a link of another account.
bool leadsThroughRefusedLink(const QString &path);
bool isDirectory(const QString &path);
// The names in a directory, without "." and "..". Nothing when it cannot be listed.
std::optional<QStringList> directoryEntries(const QString &path);
bool removeFile(const QString &path);
bool removeEmptyDirectory(const QString &path);

} // namespace platform
