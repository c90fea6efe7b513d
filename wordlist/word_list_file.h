// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

// A word list file (.szo): one record a pair, in row order. A record is the pair number, the English
// word, the Hungarian word and the note (" " for none), each followed by the byte 0x0E, and then
// CR LF. Windows-1250, no header, nothing after the last record.

inline constexpr int kMaxPairs = 20;
inline constexpr char kFieldSeparator = '\x0E';
// Longer files are refused: a list of 20 pairs is nowhere near this size.
inline constexpr qsizetype kMaxWordListFileSize = 32767;

// The grid's cells of one row: number, English, Hungarian, note.
using WordListRow = std::array<QString, 4>;
// Rows 1..20 of the grid; row 0 (the header) is never used.
using WordListRows = std::array<WordListRow, kMaxPairs + 1>;

enum class ReadOutcome {
    Complete,
    Empty,           // the text ends before a field's separator (or is empty, or too long)
    BadRecordNumber, // a record's number is not a row of the list: 0, negative, not a number, above 20
    EmptyField,      // a field with no characters, which the writer never produces
    NumberingGap,    // a row inside the list has no record, or a row after the last record has one
    UnstorableText,  // a cell holds a control character (a tab, a line end, an undefined byte)
};

struct WordListReading {
    WordListRows rows;
    // The number of the last record read; 0 when none was.
    int pairCount = 0;
    ReadOutcome outcome = ReadOutcome::Complete;
};

// Records are placed by their number. When reading fails, what was read before the failure stays in
// the rows: every record before it, and the fields of the broken record read so far.
WordListReading readWordList(const QByteArray &bytes);

// Rows 1..pairCount as a file; nothing when a cell of them is empty, which no file can hold.
std::optional<QByteArray> writeWordList(const WordListRows &rows, int pairCount);
