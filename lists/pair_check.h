// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lists/word_pair.h"

#include <QStringList>

// The longest cells a teacher can type in the window: a word in the cell editor, a note in its box.
inline constexpr int kMaxWordLength = 40;
inline constexpr int kMaxNoteLength = 50;
// A reader keeps a cell up to this many characters, more than any cell may hold: a longer one is
// still refused with its whole length, but a cell of megabytes takes no more room than a short one.
inline constexpr qsizetype kKeptCellLength = 64;

// The whole lengths of cells a reader cut short; a length below the text's own is the text's.
struct CellLengths {
    qsizetype english = 0;
    qsizetype hungarian = 0;
    qsizetype note = 0;
};

// Why the pair cannot go into a list file, in Hungarian, one reason a fault; empty when it can.
QStringList pairProblems(const WordPair &pair, const CellLengths &lengths = {});

// Adds the pair, or its problems under its line.
void takePair(ImportReading &reading, int line, const WordPair &pair, const CellLengths &lengths = {});
