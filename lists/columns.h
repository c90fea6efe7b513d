// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <optional>

// Which column holds which side; -1 for a note column that is not there.
struct ColumnMap {
    int english = 0;
    int hungarian = 1;
    int note = 2;
};

enum class Column { English, Hungarian, Note, Other };

// What a column's name (or a language code) stands for, in English or Hungarian, any case.
Column columnNamed(const QString &name);

// The columns a header row names (English/Angol/en, Hungarian/Magyar/hu, and Megjegyzés/Note/Comment),
// in any order. Nothing unless each side is named exactly once: then the row is data, not a header.
std::optional<ColumnMap> columnsNamedBy(const QStringList &names);

// Whether a table's first row holds the names of its columns: told from its cells, or said on the
// command line.
enum class HeaderRow { Guess, Present, Absent };

// The columns a first row names in words, as a person titles a table: "angol szó;magyar jelentés",
// "Word;Meaning", "szó;jelentés;megjegyzés". Every cell that holds something must be made of words
// for a language, a word, a meaning or a note, in English or Hungarian, and no two cells may stand
// for the same side: a pair of translations ("word;szó", "English;angol") is data. A language
// decides a cell's side; without one a word is the English side and a meaning the Hungarian.
std::optional<ColumnMap> columnsTitledBy(const QStringList &cells);

// Without names, the first three columns that hold words, in order.
ColumnMap columnsInOrder(const QList<int> &usableColumns);
