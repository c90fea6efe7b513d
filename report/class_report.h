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

// What the page shows at most, so that any browser opens it quickly however large the class: the
// first characters of a name (of a learner, a list, or a date that cannot be read), the most
// recently practised lists of a learner, and the page's bytes. Once the page has used half of them,
// the later learners' pictures are left out, and once it would outgrow them, their sections; the
// class table always lists everyone, and the page says what was left out.
inline constexpr qsizetype kShownNameChars = 80;
inline constexpr qsizetype kShownListRows = 50;
inline constexpr qint64 kMostPageBytes = qint64(4) << 20;

// A text of the class folder as the page shows it: at most kShownNameChars characters, the last of
// them "…" when it was cut.
QString shownName(const QString &name);

// Why a learner has no figures, in a Hungarian sentence; empty when the log was read.
QString logStateNote(const LearnerFigures &learner);

// The registry's learners in Hungarian alphabetical order, each name once.
QStringList learnersByName(QStringList names);

// Reads the registry and every learner's log, one log at a time, keeping of each learner only the
// kShownListRows most recently practised lists (the others count in `listsLeftOut`). Nothing when
// the registry cannot be read.
std::optional<ClassReport> readClassReport(const QString &startDirectory, const QDateTime &madeAt);

// The same, a learner at a time, for a window that shows how far it has got and stays answering.
class ClassReportReading {
public:
    // Nothing when the registry cannot be read.
    static std::optional<ClassReportReading> begin(const QString &startDirectory, const QDateTime &madeAt);
    bool done() const { return m_report.learners.size() == m_learners.size(); }
    qsizetype learnersRead() const { return m_report.learners.size(); }
    qsizetype learnersToRead() const { return m_learners.size(); }
    // Reads the next learner's log.
    void readNext();
    ClassReport take() { return std::move(m_report); }

private:
    ClassReportReading() = default;
    ClassReport m_report;
    QStringList m_learners;
    qint64 m_allowance = kMostClassBytes;
};

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
