// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/list_files.h"

#include "app/command_line_messages.h"
#include "platform/files.h"
#include "wordlist/list_name.h"

#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using commandline::FileUse;

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Each new list is synced to the disk before it gets its name, and its directory after: hundreds of
// lists wait on the disk one by one unless several are made at once. A list that could not be made
// keeps why.
struct Creation {
    platform::CreateResult result = platform::CreateResult::Failed;
    QString reason;
};

std::vector<Creation> createAll(const QStringList &paths, const QList<ListFile> &lists)
{
    std::vector<Creation> results(size_t(paths.size()));
    std::atomic<qsizetype> next = 0;
    const auto work = [&] {
        for (qsizetype index = next++; index < paths.size(); index = next++) {
            Creation &made = results[size_t(index)];
            made.result = platform::createFileExclusively(paths[index], lists[index].bytes);
            if (made.result != platform::CreateResult::Created)
                made.reason = commandline::lastFileFailureReason(FileUse::Writing);
        }
    };
    std::vector<std::thread> workers;
    for (qsizetype worker = 1; worker < std::min<qsizetype>(paths.size(), 16); ++worker)
        workers.emplace_back(work);
    work();
    for (std::thread &worker : workers)
        worker.join();
    return results;
}

} // namespace

ImportSource readImportSource(const QString &path, qsizetype maxLists, HeaderRow headerRow)
{
    ImportSource source{path, {}, {}};
    const std::optional<QByteArray> bytes = platform::readFileStart(path, kMaxImportSize + 1);
    if (!bytes) {
        const QString reason = commandline::lastFileFailureReason(FileUse::Reading);
        source.problem = QStringLiteral("Nem olvasható: %1 (%2)").arg(shown(path), reason);
    } else if (bytes->size() > kMaxImportSize) {
        source.problem = QStringLiteral("A fájl túl nagy (legfeljebb 64 MiB lehet): %1").arg(shown(path));
    } else {
        source.reading = readWordSource(*bytes, maxLists * kMaxPairs, headerRow);
    }
    return source;
}

ListFileReading readListFile(const QString &path)
{
    const std::optional<QByteArray> bytes = platform::readFileStart(path, kMaxWordListFileSize + 1);
    if (!bytes) {
        const QString reason = commandline::lastFileFailureReason(FileUse::Reading);
        return {std::nullopt, QStringLiteral("Nem olvasható: %1 (%2)").arg(shown(path), reason)};
    }
    const WordListReading reading = readWordList(*bytes);
    if (reading.outcome != ReadOutcome::Complete)
        return {std::nullopt, QStringLiteral("Nem ép szójegyzékfájl: %1").arg(shown(path))};
    return {NamedList{listNameOf(QDir::fromNativeSeparators(path)), pairsOfReading(reading)}, {}};
}

bool isOneOfTheFiles(const QString &output, const QStringList &inputs)
{
    const QString target = QFileInfo(output).canonicalFilePath();
    return !target.isEmpty() && std::any_of(inputs.begin(), inputs.end(), [&](const QString &input) {
        return QFileInfo(input).canonicalFilePath() == target;
    });
}

QString alreadyThereText(const QString &path)
{
    return QStringLiteral("Már létezik, nem írom felül: %1").arg(shown(path));
}

QStringList createListsAllOrNothing(const QString &directory, const QList<ListFile> &lists)
{
    QStringList paths;
    for (const ListFile &list : lists)
        paths.append(platform::joinPath(directory, list.fileName));
    QStringList problems;
    for (const QString &path : paths) {
        if (platform::pathExists(path))
            problems.append(alreadyThereText(path));
    }
    if (!problems.isEmpty())
        return problems;

    const std::vector<Creation> results = createAll(paths, lists);
    if (std::all_of(results.begin(), results.end(),
                    [](const Creation &made) { return made.result == platform::CreateResult::Created; }))
        return {};
    for (qsizetype index = 0; index < paths.size(); ++index) {
        const Creation &made = results[size_t(index)];
        if (made.result == platform::CreateResult::Created)
            platform::removeFile(paths[index]);
        else
            problems.append(made.result == platform::CreateResult::AlreadyExists
                                ? alreadyThereText(paths[index])
                                : QStringLiteral("Nem írható ki: %1 (%2)").arg(shown(paths[index]), made.reason));
    }
    return problems;
}
