// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QStringView>
#include <QtGlobal>

#include <optional>

// One recorded practice run, read back from a line of a learner's results log. The texts are
// views into the line: they live as long as it does.
struct RunRecord {
    QStringView dateText; // as written, in the locale the program ran under
    std::optional<QDate> date;
    QStringView timeText;
    QStringView learner;
    QStringView listName;
    bool leftEarly = false; // the line carries the cheating mark "Csalás volt! (vissza)"
    qint64 shownAnswers = 0;
    qint64 wrongAnswers = 0;
    qint64 pairCount = 0;
};

// Reads one line (without its line end) of the log of `owner`. Names and list names may hold
// commas and even the texts of the labels: the learner's name is taken as the log's owner whenever
// the line allows, and the list name runs up to the fixed tail of the line. Nothing when the line
// is not a record (the header, a line edited by hand or damaged).
std::optional<RunRecord> parseRunRecord(QStringView line, QStringView owner);

// The log's first line as the program writes it: "<name> Eredményei:".
bool isLogHeader(QStringView line, QStringView owner);
