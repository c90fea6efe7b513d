// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

enum class FailureCode : int;

// Appends one record to the learner's results log. A directory or log deleted by hand is made
// anew, the header line first; the log's earlier bytes are never rewritten. Nothing when done.
std::optional<FailureCode> appendResultsRecordToLog(const QString &startDirectory, const QString &learner,
                                                    const QByteArray &record);

// The log's bytes as the viewer shows them (see kShownLogBytes); empty when the learner has no log
// (deleted by hand, or a name that cannot have a directory). Nothing when a log is there but cannot
// be read.
std::optional<QByteArray> readResultsLog(const QString &startDirectory, const QString &learner);
