// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/learner_figures.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

struct ClassReport {
    QString startDirectory;
    QDateTime madeAt;
    QList<LearnerFigures> learners; // the registry's learners once each, ordered by name
    qsizetype learnersLeftOut = 0;  // beyond kMostLearners
    QStringList registryNames;      // all of them, for keeping the page away from their directories
};

// What one report reads at most: its learners, and the bytes of all their logs together.
inline constexpr qsizetype kMostLearners = 1000;
inline constexpr qint64 kMostClassBytes = qint64(256) << 20;

// The registry's learners in Hungarian alphabetical order, each name once.
QStringList learnersByName(QStringList names);

// Reads the registry and every learner's log, one log at a time. Nothing when the registry cannot
// be read.
std::optional<ClassReport> readClassReport(const QString &startDirectory, const QDateTime &madeAt);

// Whether writing the report to `outputPath` would touch the learners' data: the registry, the
// start directory, a learner's directory or anything inside one, named so or reached through
// links; or whether the output is a link in a directory that other accounts can write.
bool outputTouchesData(const QString &outputPath, const QString &startDirectory, const QStringList &names);

// A picture as inline SVG markup (no XML declaration), or empty when there is nothing to draw.
using PictureMaker = std::function<QString(const LearnerFigures &)>;
using ClassPictureMaker = std::function<QString(const QList<LearnerFigures> &)>;

// Whether the page would land among the learners' data or where other accounts can write, if it
// were written to the directory `directory`: then the page goes to the home directory instead.
bool unfitForThePage(const QString &directory, const QString &startDirectory);

// The whole page, UTF-8, in Hungarian, self-contained: no scripts, no files or addresses beside it.
QByteArray classReportHtml(const ClassReport &report, const PictureMaker &learnerPicture,
                           const ClassPictureMaker &classPicture);
