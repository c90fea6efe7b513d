// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/results_log_append.h"

#include "failures/failure_codes.h"
#include "failures/link_refusal.h"
#include "platform/dot_lock.h"
#include "platform/files.h"
#include "results/results_log.h"
#include "results/results_record.h"
#include "users/user_directory.h"

#include <algorithm>

std::optional<FailureCode> appendResultsRecordToLog(const QString &startDirectory, const QString &learner,
                                                    const QByteArray &record)
{
    const std::optional<QString> directory = userDirectoryPath(startDirectory, learner);
    if (!directory)
        return FailureCode::LearnerWithoutDirectory;
    const platform::MakeDirectoryResult made = platform::makeDirectory(*directory);
    if (made != platform::MakeDirectoryResult::Created && made != platform::MakeDirectoryResult::AlreadyExists)
        return unlessRefusedLink(FailureCode::ResultsLogUnwritable);

    // Records take turns with every computer that shares the folder: a new log's claim on a share
    // without exclusive renames is told from an abandoned one only so.
    const platform::DotLock turn(startDirectory);
    if (!turn.held())
        return turn.failure() == platform::LockFailure::NotTheTeachers ? FailureCode::LockNotTheTeachers
                                                                       : FailureCode::ResultsLogUnwritable;
    // A missing log is made with its header and this record in one go, and only where no log is:
    // another copy of the program making it at the same moment must not have its record replaced.
    // An empty one is the claim of a maker killed before its log took the claim's place (no log
    // holds less than its header).
    const QString log = platform::joinPath(*directory, resultsLogFileName(learner));
    if (platform::regularFileSize(log) == 0)
        platform::removeFile(log);
    if (!platform::pathExists(log)) {
        switch (platform::createFileExclusively(log, resultsLogAppendix(false, learner, record))) {
        case platform::CreateResult::Created:
            return std::nullopt;
        case platform::CreateResult::AlreadyExists:
            break;
        case platform::CreateResult::NameRefused:
        case platform::CreateResult::Failed:
            return unlessRefusedLink(FailureCode::ResultsLogUnwritable);
        }
    }
    if (!platform::appendToExistingFile(log, resultsLogAppendix(true, learner, record)))
        return unlessRefusedLink(FailureCode::ResultsLogUnwritable);
    return std::nullopt;
}

std::optional<QByteArray> readResultsLog(const QString &startDirectory, const QString &learner)
{
    const std::optional<QString> directory = userDirectoryPath(startDirectory, learner);
    if (!directory)
        return QByteArray();
    const QString log = platform::joinPath(*directory, resultsLogFileName(learner));
    if (!platform::pathExists(log))
        return QByteArray();
    const std::optional<qint64> size = platform::regularFileSize(log);
    if (!size)
        return std::nullopt;
    if (*size > kShownLogBytes) {
        const std::optional<QByteArray> start = platform::readFileStart(log, 4096);
        const std::optional<QByteArray> end = platform::readFilePart(log, *size - kShownLogBytes, kShownLogBytes);
        if (!start || !end)
            return std::nullopt;
        return abridgedLog(*start, *end);
    }
    // As far as the log reaches while it is read, another copy of the program may be adding to it.
    return platform::readFilePart(log, 0, kShownLogBytes);
}
