#include "results/results_log_append.h"

#include "app/failure_codes.h"
#include "platform/files.h"
#include "results/results_log.h"
#include "results/results_record.h"
#include "users/user_directory.h"

std::optional<FailureCode> appendResultsRecordToLog(const QString &startDirectory, const QString &learner,
                                                    const QByteArray &record)
{
    const std::optional<QString> directory = userDirectoryPath(startDirectory, learner);
    if (!directory)
        return FailureCode::LearnerWithoutDirectory;
    if (platform::makeDirectory(*directory) == platform::MakeDirectoryResult::Failed)
        return FailureCode::ResultsLogUnwritable;

    const QString log = platform::joinPath(*directory, resultsLogFileName(learner));
    const bool logExists = platform::pathExists(log);
    const QByteArray bytes = resultsLogAppendix(logExists, learner, record);
    const bool written =
        logExists ? platform::appendToExistingFile(log, bytes) : platform::writeWholeFileAtomically(log, bytes);
    if (!written)
        return FailureCode::ResultsLogUnwritable;
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
    return platform::readWholeFile(log);
}
