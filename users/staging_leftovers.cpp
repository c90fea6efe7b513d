// SPDX-License-Identifier: GPL-3.0-or-later
#include "users/staging_leftovers.h"

#include "platform/files.h"

namespace {

// Far longer than an addition takes, even on a slow share.
constexpr qint64 kStaleAfterSeconds = 60 * 60;

} // namespace

void removeStaleStagingDirectories(const QString &startDirectory)
{
    const std::optional<QStringList> entries = platform::directoryEntries(startDirectory);
    if (!entries)
        return;
    for (const QString &entry : *entries) {
        if (!platform::isStagingFileName(entry))
            continue;
        const QString path = platform::joinPath(startDirectory, entry);
        const std::optional<platform::EntryFacts> facts = platform::entryFacts(path);
        if (!facts || !facts->directory || !facts->ownedByThisAccount || facts->secondsSinceChange < kStaleAfterSeconds)
            continue;
        // Only the files that an addition puts there; anything else keeps the directory.
        for (const QString &inside : platform::directoryEntries(path).value_or(QStringList()))
            if (const std::optional<platform::EntryFacts> held = platform::entryFacts(platform::joinPath(path, inside));
                held && !held->directory)
                platform::removeFile(platform::joinPath(path, inside));
        platform::removeEmptyDirectory(path);
    }
}
