// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lists/columns.h"
#include "lists/word_pair.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The pairs of a file of another program, whatever its kind, told from its content: KVTML, a
// flashcard export, or a separated text table. Past the pair limit, pairs are only counted. Whether
// a table's first row is a header is guessed, or given.
ImportReading readWordSource(const QByteArray &bytes, qsizetype pairLimit = std::numeric_limits<qsizetype>::max(),
                             HeaderRow headerRow = HeaderRow::Guess);

struct ListFile {
    QString fileName;
    QByteArray bytes;
};

// The pairs as list files of at most 20: NAME.szo, or NAME-01.szo, NAME-02.szo, ... when they
// need more than one (with as many digits as the last number needs, at least two). With sizes, each
// run of pairs is cut into lists of its own, numbered on across the runs.
QList<ListFile> listFilesOf(const QList<WordPair> &pairs, const QString &name, const QList<qsizetype> &runSizes = {});
