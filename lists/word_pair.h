// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wordlist/word_list_file.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <limits>

// One pair as the other programs see it: the note is empty when there is none (a list file holds " ").
struct WordPair {
    QString english;
    QString hungarian;
    QString note;
    bool operator==(const WordPair &) const = default;
};

// A word list read from a file, by the name the window shows it under.
struct NamedList {
    QString name;
    QList<WordPair> pairs;
};

// What went wrong where: LINE is the input's line (1 for the file as a whole).
struct ImportProblem {
    int line = 1;
    QString reason;
};

// A file of bad rows has millions of problems: the first ones are listed, the others only counted.
inline constexpr qsizetype kListedProblems = 200;

// All the pairs of an input, or the reasons some of them cannot be stored. An input that keeps
// its lists apart (KVTML's lessons) gives their sizes: the pairs are the lists one after another.
// Past the pair limit pairs are only counted: more would make more lists than were asked for.
struct ImportReading {
    QList<WordPair> pairs;
    qsizetype pairCount = 0;       // kept or not
    QList<ImportProblem> problems; // the first kListedProblems
    qsizetype problemCount = 0;
    QList<qsizetype> listSizes; // empty: the pairs are one run
    qsizetype pairLimit = std::numeric_limits<qsizetype>::max();
    // A first row that was taken for the names of the columns, not a pair, because of what its
    // cells say: its line (0 when there was none) and its cells, for telling the reader so.
    int guessedHeaderLine = 0;
    QStringList guessedHeader;
};

void addProblem(ImportReading &reading, int line, const QString &reason);

// The lists the pairs make, 20 pairs a list and each run apart; at least this many when pairs went
// past the limit.
qsizetype listCountOf(const ImportReading &reading);

QList<WordPair> pairsOfReading(const WordListReading &reading);
// At most 20 pairs, as the grid rows the list file writer takes.
WordListRows rowsOfPairs(const QList<WordPair> &pairs);
