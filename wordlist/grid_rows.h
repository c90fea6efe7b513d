// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wordlist/word_list_file.h"

class WordGrid;

// The word list lives in the grid; these copy it to and from the file codec's rows.
WordListRows gridRows(const WordGrid &grid);
void putGridRows(WordGrid &grid, const WordListRows &rows);
