// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lists/list_import.h"
#include "lists/word_pair.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A file of another program read for importing, its pairs up to the lists allowed (the others only
// counted); or, when it cannot be read, why (the file as a whole: its rows' problems are in the
// reading).
struct ImportSource {
    QString path;
    ImportReading reading;
    QString problem;
};
ImportSource readImportSource(const QString &path, qsizetype maxLists, HeaderRow headerRow = HeaderRow::Guess);

// A list file read for exporting or printing; or, when it cannot be, why, in a Hungarian sentence
// that names the file.
struct ListFileReading {
    std::optional<NamedList> list;
    QString problem;
};
ListFileReading readListFile(const QString &path);

// Whether the output is one of the input files, by whatever name: writing it would lose that input.
bool isOneOfTheFiles(const QString &output, const QStringList &inputs);

// Each list made as a new file in the directory, all or nothing: a file already there is never
// written over, and when one list cannot be made, those made with it are removed again. What went
// wrong, a Hungarian sentence a file; empty when every list was made.
QStringList createListsAllOrNothing(const QString &directory, const QList<ListFile> &lists);

// The sentence for a file that is already there.
QString alreadyThereText(const QString &path);
