// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lists/columns.h"
#include "lists/word_pair.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A spreadsheet of a whole school year is a few megabytes; a file chosen by mistake stops here.
inline constexpr qint64 kMaxImportSize = 64 * 1024 * 1024;
// A class needs a few dozen lists; hundreds of them in one folder are a file read the wrong way.
inline constexpr qsizetype kDefaultMaxLists = 500;
// And no one needs more than this: the pairs of as many lists are what an import holds at most.
inline constexpr qsizetype kMostMaxLists = 10000;

// A name the lists of an import can be given: it names files in one folder, not a path.
bool isUsableListName(const QString &name);

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
