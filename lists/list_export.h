// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lists/word_pair.h"

#include <QByteArray>
#include <QList>

// The lists joined into one table with the header row "Angol", "Magyar", "Megjegyzés", in UTF-8
// with CR LF line ends. CSV as a Hungarian spreadsheet opens it: a byte order mark and semicolons.
QByteArray tsvOfLists(const QList<NamedList> &lists);
QByteArray csvOfLists(const QList<NamedList> &lists);
