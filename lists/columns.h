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

// Without names, the first three columns that hold words, in order.
ColumnMap columnsInOrder(const QList<int> &usableColumns);
