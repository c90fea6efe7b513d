#include "results/results_log_append.h"

#include "failures/failure_codes.h"
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
        return FailureCode::ResultsLogUnwritable;

    // A missing log is made with its header and this record in one go, and only where no log is:
    // another copy of the program making it at the same moment must not have its record replaced.
    const QString log = platform::joinPath(*directory, resultsLogFileName(learner));
    if (!platform::pathExists(log)) {
        switch (platform::createFileExclusively(log, resultsLogAppendix(false, learner, record))) {
        case platform::CreateResult::Created:
            return std::nullopt;
        case platform::CreateResult::AlreadyExists:
            break;
        case platform::CreateResult::NameRefused:
        case platform::CreateResult::Failed:
            return FailureCode::ResultsLogUnwritable;
        }
    }
    if (!platform::appendToExistingFile(log, resultsLogAppendix(true, learner, record)))
        return FailureCode::ResultsLogUnwritable;
    return std::nullopt;
}

namespace {

// How much of a log is read at a time for the viewer.
constexpr qint64 kLogReadPieceBytes = 256 << 10;

bool readShownPartOfLog(const QString &log, const std::function<void(const QByteArray &)> &take)
{
    const std::optional<qint64> size = platform::regularFileSize(log);
    if (!size)
        return false;
    if (*size > kShownLogBytes) {
        const std::optional<QByteArray> start = platform::readFileStart(log, 4096);
        const std::optional<QByteArray> end = platform::readFilePart(log, *size - kShownLogBytes, kShownLogBytes);
        if (!start || !end)
            return false;
        take(abridgedLog(*start, *end));
        return true;
    }
    // Up to kShownLogBytes from the start, as far as the log reaches while it is read.
    for (qint64 offset = 0; offset < kShownLogBytes;) {
        const qint64 wanted = std::min(kLogReadPieceBytes, kShownLogBytes - offset);
        const std::optional<QByteArray> piece = platform::readFilePart(log, offset, wanted);
        if (!piece)
            return false;
        if (!piece->isEmpty())
            take(*piece);
        if (piece->size() < wanted)
            break;
        offset += piece->size();
    }
    return true;
}

} // namespace

bool readResultsLog(const QString &startDirectory, const QString &learner,
                    const std::function<void(const QByteArray &)> &take)
{
    const std::optional<QString> directory = userDirectoryPath(startDirectory, learner);
    if (!directory)
        return true;
    const QString log = platform::joinPath(*directory, resultsLogFileName(learner));
    if (!platform::pathExists(log))
        return true;
    return readShownPartOfLog(log, take);
}
