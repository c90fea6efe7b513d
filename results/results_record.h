// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "practice/practice_direction.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QtGlobal>

// One line of a learner's results log: when, who, which list, which direction and the run's
// figures, pieces joined by a comma and two spaces.

struct RunFigures {
    QString learner;
    QString listName;
    PracticeDirection direction = PracticeDirection::HungarianEnglish;
    qint64 shownAnswers = 0;
    qint64 wrongAnswers = 0;
    int pairCount = 0;
    bool allWordsSolved = false; // without it the line carries the cheating mark
};

// The direction as the log writes it, 15 characters, spaces included.
QString resultsDirectionText(PracticeDirection direction);

// The locale's short date, ", ", then its long time of day without the time zone.
QString recordDateTimeText(const QDateTime &at, const QLocale &locale);

// The line without its line end.
QString resultsRecordText(const RunFigures &run, const QString &dateTimeText);

// The line with CR LF in the code page; a character the code page cannot hold becomes "?".
QByteArray resultsRecordBytes(const RunFigures &run, const QDateTime &at, const QLocale &locale);

// What to append to the learner's log: the record, after the header line when the log has to
// be made anew (it was deleted by hand).
QByteArray resultsLogAppendix(bool logExists, const QString &learner, const QByteArray &record);
