// SPDX-License-Identifier: GPL-3.0-or-later
#include "wordlist/grid_rows.h"

#include "app/word_grid.h"

WordListRows gridRows(const WordGrid &grid)
{
    WordListRows rows;
    for (int row = 1; row <= kMaxPairs; ++row) {
        for (int column = 0; column < WordGrid::kColumns; ++column)
            rows[row][column] = grid.cellText(row, column);
    }
    return rows;
}

void putGridRows(WordGrid &grid, const WordListRows &rows)
{
    for (int row = 1; row <= kMaxPairs; ++row) {
        for (int column = 0; column < WordGrid::kColumns; ++column)
            grid.setCellText(row, column, rows[row][column]);
    }
}
