// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lists/word_pair.h"

#include <QStringList>

// The longest cells a teacher can type in the window: a word in the cell editor, a note in its box.
inline constexpr int kMaxWordLength = 40;
inline constexpr int kMaxNoteLength = 50;

// Why the pair cannot go into a list file, in Hungarian, one reason a fault; empty when it can.
QStringList pairProblems(const WordPair &pair);

// Adds the pair, or its problems under its line.
void takePair(ImportReading &reading, int line, const WordPair &pair);
