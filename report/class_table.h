// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/class_report.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One learner's line of the class table, as the teacher's window shows it and saves it.
struct ClassTableRow {
    QString name;
    qint64 runs = 0;
    std::optional<QDate> lastRunDate; // when the last run's date can be read
    QString lastRunText;              // that date as Hungarians write it, the text as written, or empty
    QStringList practisedLists;       // in Hungarian order; more were read when listsLeftOut > 0
    qsizetype listsLeftOut = 0;
    qint64 wrongAnswers = 0;
    qint64 shownAnswers = 0;
    qint64 leftEarly = 0;
    qint64 strayLines = 0;
};

QList<ClassTableRow> classTableRows(const ClassReport &report);

// The class table for a spreadsheet: UTF-8 with a byte order mark, semicolons, CR LF, dates as
// yyyy-MM-dd, numbers without grouping. A cell a spreadsheet would take for a formula (a name
// beginning with "=", "+", "-" or "@") starts with an apostrophe, so that it stays text.
QByteArray classTableCsv(const QList<ClassTableRow> &rows);
