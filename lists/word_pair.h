// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wordlist/word_list_file.h"

#include <QList>
#include <QString>

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

// All the pairs of an input, or the reasons some of them cannot be stored. An input that keeps
// its lists apart (KVTML's lessons) gives their sizes: the pairs are the lists one after another.
struct ImportReading {
    QList<WordPair> pairs;
    QList<ImportProblem> problems;
    QList<qsizetype> listSizes; // empty: the pairs are one run
};

QList<WordPair> pairsOfReading(const WordListReading &reading);
// At most 20 pairs, as the grid rows the list file writer takes.
WordListRows rowsOfPairs(const QList<WordPair> &pairs);
