// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The folder beside the learners' directories where the teacher keeps the class's lists.
inline const QString kSharedListsFolder = QStringLiteral("listak");

// A list file of the class folder as the teacher's table shows it.
struct ClassListFile {
    QString name; // as the learners' window shows it: the file name without .szo
    QString path;
    QString owner;            // empty for the shared lists folder, else the learner whose directory holds it
    std::optional<int> pairs; // nothing when the file is not a whole list file
    QDateTime changed;
};

// Past this many list files the rest of a folder is only counted: a folder of thousands is a
// mistake, and the table stays quick.
inline constexpr qsizetype kMostShownLists = 5000;

struct ClassFolder {
    QString directory;
    bool readable = false; // its registry could be read
    QStringList learners;  // in Hungarian order
    QList<ClassListFile> lists;
    qsizetype listsLeftOut = 0;
    QStringList advice; // what is wrong with its set-up, and how to mend it
};

ClassFolder readClassFolder(const QString &directory);

// Where a teacher's lists of this folder go: the shared lists folder, when there is one.
QString sharedListsDirectory(const QString &classDirectory);
