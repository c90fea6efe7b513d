// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/class_folder.h"

#include "platform/files.h"
#include "report/hungarian_order.h"
#include "teacher/folder_advice.h"
#include "users/user_directory.h"
#include "users/user_registry.h"
#include "wordlist/list_name.h"
#include "wordlist/word_list_file.h"

namespace {

void addListsOf(ClassFolder &folder, const QString &directory, const QString &owner)
{
    std::optional<QStringList> names = platform::directoryEntries(directory);
    if (!names)
        return;
    sortHungarian(*names);
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    for (const QString &name : *names) {
        if (!name.endsWith(QLatin1String(".szo"), Qt::CaseInsensitive))
            continue;
        if (folder.lists.size() >= kMostShownLists) {
            ++folder.listsLeftOut;
            continue;
        }
        const QString path = platform::joinPath(directory, name);
        const std::optional<platform::EntryFacts> facts = platform::entryFacts(path);
        if (!facts || facts->directory)
            continue;
        ClassListFile list{listNameOf(path), path, owner, std::nullopt,
                           QDateTime::fromSecsSinceEpoch(now - facts->secondsSinceChange)};
        // Read as everything else reads it: never through another account's link, never more than a
        // list file can hold.
        if (const std::optional<QByteArray> bytes = platform::readFileStart(path, kMaxWordListFileSize + 1)) {
            const WordListReading reading = readWordList(*bytes);
            if (reading.outcome == ReadOutcome::Complete)
                list.pairs = reading.pairCount;
        }
        folder.lists.append(list);
    }
}

} // namespace

QString sharedListsDirectory(const QString &classDirectory)
{
    return platform::joinPath(classDirectory, kSharedListsFolder);
}

ClassFolder readClassFolder(const QString &directory)
{
    ClassFolder folder;
    folder.directory = directory;
    FolderSnapshot snapshot;
    snapshot.directory = directory;
    snapshot.folder = platform::entryAccess(directory);
    snapshot.registryState = platform::pathState(registryPath(directory));
    snapshot.registry = platform::entryAccess(registryPath(directory));
    snapshot.lockDirectory = platform::entryAccess(platform::joinPath(directory, QStringLiteral(".vokalindo-lock")));

    if (const std::optional<QStringList> names = readRegistryNames(directory)) {
        folder.readable = true;
        folder.learners = *names;
        folder.learners.removeDuplicates();
        sortHungarian(folder.learners);
    }
    if (platform::isDirectory(sharedListsDirectory(directory)))
        addListsOf(folder, sharedListsDirectory(directory), QString());
    for (const QString &learner : std::as_const(folder.learners)) {
        const std::optional<QString> own = userDirectoryPath(directory, learner);
        if (!own)
            continue;
        if (std::optional<platform::EntryAccess> access = platform::entryAccess(*own))
            snapshot.learners.append({learner, *own, access});
        addListsOf(folder, *own, learner);
    }
    folder.advice = folderAdvice(snapshot);
    return folder;
}
