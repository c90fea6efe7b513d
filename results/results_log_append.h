#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

enum class FailureCode : int;

// Appends one record to the learner's results log. A directory or log deleted by hand is made
// anew, the header line first; the log's earlier bytes are never rewritten. Nothing when done.
std::optional<FailureCode> appendResultsRecordToLog(const QString &startDirectory, const QString &learner,
                                                    const QByteArray &record);

// The log's bytes, for the viewer, handed to `take` piece by piece as they are read, so that a long
// log is never held whole beside what the viewer makes of it; a piece may end inside a line. No
// piece when the learner has no log (deleted by hand, or a name that cannot have a directory).
// False when a log is there but cannot be read: what was handed over before is then no log.
bool readResultsLog(const QString &startDirectory, const QString &learner,
                    const std::function<void(const QByteArray &)> &take);
