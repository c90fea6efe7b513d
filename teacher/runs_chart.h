// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/learner_figures.h"

#include <QWidget>

// A learner's runs in log order, drawn with QPainter (Qt Charts is not everywhere): for each run,
// or each group of runs in a long log, its wrong answers and its shown answers side by side, and
// a mark under the runs left early. A screen reader hears the same as a sentence.
class RunsChart final : public QWidget {
public:
    explicit RunsChart(const LearnerFigures &learner, QWidget *parent = nullptr);
    QSize sizeHint() const override { return {640, 260}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<RunGroup> m_groups;
    qint64 m_runsPerGroup;
};

// What the chart shows, in words.
QString runsChartDescription(const LearnerFigures &learner);
