// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lists/columns.h"
#include "lists/word_pair.h"

#include <QByteArray>

// A flashcard program's plain-text export: header lines "#separator:tab", "#html:true",
// "#columns:Front<tab>Back" and "#tags column:3" (a column that holds no side), then one note a line
// quoted as spreadsheets quote. With html, the fields' markup becomes plain text.
bool looksLikeFlashcardText(const QByteArray &bytes);
ImportReading readFlashcardText(const QByteArray &bytes, qsizetype pairLimit, HeaderRow headerRow = HeaderRow::Guess);
