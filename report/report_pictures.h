// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/learner_figures.h"

#include <QList>
#include <QString>

// Pictures of the report, drawn with Qt Charts into SVG markup for inlining in the page. They need
// a QApplication (any platform: offscreen will do).

// The learner's runs in log order: wrong and shown answers per run (or per group of runs), the
// runs left early marked. Empty when the learner has no run.
QString learnerPictureSvg(const LearnerFigures &learner);

// The class at a glance: every learner's runs, the finished ones and those with the cheating mark.
QString classPictureSvg(const QList<LearnerFigures> &learners);
