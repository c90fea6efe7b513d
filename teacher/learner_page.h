// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/learner_figures.h"

#include <QDialog>

// One learner's own page: the figures, the chart of the runs and a row for each practised list.
class LearnerPage final : public QDialog {
public:
    explicit LearnerPage(const LearnerFigures &learner, QWidget *parent = nullptr);
};
