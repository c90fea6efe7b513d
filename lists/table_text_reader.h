// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lists/columns.h"
#include "lists/pair_check.h"
#include "lists/text_decoding.h"
#include "lists/word_pair.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// A field with markup is kept longer than a plain cell (kKeptCellLength), as its tags do not count.
inline constexpr qsizetype kKeptMarkupCellLength = 4096;
// And a row up to this many cells; the others are only counted.
inline constexpr qsizetype kKeptCells = 1024;

// One row of a separated text table, from the line it starts on. Unquoted cells lose their outer
// spaces; quoted ones are kept exactly, so a space that matters survives a round trip.
struct TableRecord {
    int line = 1;
    QStringList cells;         // each cut to the kept length
    QList<qsizetype> lengths;  // each cell's whole length
    qsizetype width = 0;       // the cells of the row, kept or not
    qsizetype filledWidth = 0; // the cells up to the last that holds something
};

// Cells as spreadsheets quote them: a quoted cell may hold the separator, line ends and doubled
// quotes. Lines end in CR LF, LF or CR. Rows with every cell empty are left out. With markup, each
// cell becomes the plain text of its HTML.
class TableReader {
public:
    TableReader(TextReader &text, QChar separator, int firstLine = 1, bool markup = false);
    // The next row; false at the end of the text, or at a quote left open, which is then the problem.
    bool next(TableRecord &record);
    std::optional<ImportProblem> problem;

private:
    bool readRecord(TableRecord &record);
    TextReader &text;
    QChar separator;
    int line;
    bool markup;
    QString spaces;    // spaces read after a cell's text, until something follows them
    QString uncounted; // a cell past the kept ones
};

// Tab, else semicolon, else comma: whichever the first row holds outside quotes.
QChar guessSeparator(TextReader &text);

// The pairs of the rows, from the columns the first row names or else in order. With a width, a row
// that fills more cells than the header row has (or than the width, without one) is refused. A first
// row already read comes first. Whether the first row is a header is guessed from its cells (a guess
// is kept in the reading), or given.
void takeTable(ImportReading &reading, TableReader &table, const ColumnMap &defaultColumns, qsizetype maxWidth = 0,
               std::optional<TableRecord> first = std::nullopt, HeaderRow headerRow = HeaderRow::Guess);

// A comma-, semicolon- or tab-separated table in any of the encodings of TextReader.
ImportReading readTableText(const QByteArray &bytes, qsizetype pairLimit, HeaderRow headerRow = HeaderRow::Guess);
