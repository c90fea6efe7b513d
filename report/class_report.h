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
    QList<LearnerFigures> learners; // every learner of the registry once, ordered by name
};

// The registry's learners in Hungarian alphabetical order, each name once.
QStringList learnersByName(QStringList names);

// Reads the registry and every learner's log, one log at a time. Nothing when the registry cannot
// be read.
std::optional<ClassReport> readClassReport(const QString &startDirectory, const QDateTime &madeAt);

// Whether writing the report to `outputPath` would touch the learners' data: the registry, a
// learner's directory or anything inside one.
bool outputTouchesData(const QString &outputPath, const QString &startDirectory, const QStringList &names);

// A picture as inline SVG markup (no XML declaration), or empty when there is nothing to draw.
using PictureMaker = std::function<QString(const LearnerFigures &)>;
using ClassPictureMaker = std::function<QString(const QList<LearnerFigures> &)>;

// The whole page, UTF-8, in Hungarian, self-contained: no scripts, no files or addresses beside it.
QByteArray classReportHtml(const ClassReport &report, const PictureMaker &learnerPicture,
                           const ClassPictureMaker &classPicture);
