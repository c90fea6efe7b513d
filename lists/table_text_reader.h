// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lists/columns.h"
#include "lists/word_pair.h"

#include <QByteArray>
#include <QList>
#include <QString>

// One row of a separated text table, from the line it starts on. Unquoted cells lose their outer
// spaces; quoted ones are kept exactly, so a space that matters survives a round trip.
struct TableRecord {
    int line = 1;
    QStringList cells;
};

struct TableSplit {
    QList<TableRecord> records;
    QList<ImportProblem> problems; // a quote left open
};

// Cells as spreadsheets quote them: a quoted cell may hold the separator, line ends and doubled
// quotes. Lines end in CR LF, LF or CR. Rows with every cell empty are left out.
TableSplit splitTable(const QString &text, QChar separator, int firstLine = 1);

// Tab, else semicolon, else comma: whichever the first row holds outside quotes.
QChar guessSeparator(const QString &text);

// The pairs of the rows, from the columns the first row names or else in order. With a width, a row
// that fills more cells than the header row has (or than the width, without one) is refused.
ImportReading pairsOfTable(const TableSplit &table, const ColumnMap &defaultColumns, qsizetype maxWidth = 0);

// A comma-, semicolon- or tab-separated table in any of the encodings of decodeText.
ImportReading readTableText(const QByteArray &bytes);
