// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTableWidgetItem>

// Cells of the window's tables, each sorted by what it means: numbers as numbers, dates as dates,
// names in Hungarian alphabetical order.
QTableWidgetItem *textCell(const QString &text);
QTableWidgetItem *numberCell(qint64 value);
// Shown as `text`, sorted by `key` (a date as yyyy-MM-dd, or empty for none).
QTableWidgetItem *keyedCell(const QString &text, const QString &key);
