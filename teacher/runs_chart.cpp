// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/runs_chart.h"

#include <QPainter>

namespace {

const QColor kWrongColour(0xc0, 0x39, 0x2b);
const QColor kShownColour(0xe6, 0x9f, 0x00);
const QColor kLeftEarlyColour(0x55, 0x55, 0x55);

} // namespace

RunsChart::RunsChart(const LearnerFigures &learner, QWidget *parent)
    : QWidget(parent), m_groups(learner.groups), m_runsPerGroup(learner.runsPerGroup)
{
    setObjectName(QStringLiteral("futasokGrafikonja"));
    setAccessibleName(QStringLiteral("A futások grafikonja"));
    setAccessibleDescription(runsChartDescription(learner));
    setMinimumSize(320, 180);
}

void RunsChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    const QRect plot = rect().adjusted(line * 3, line, -line, -line * 4);
    painter.setPen(palette().text().color());
    if (m_groups.isEmpty()) {
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Még nincs futása."));
        return;
    }
    qint64 highest = 1;
    for (const RunGroup &group : m_groups)
        highest = std::max({highest, group.wrongAnswers, group.shownAnswers});

    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawText(QRect(0, plot.top() - line / 2, plot.left() - 4, line), Qt::AlignRight, QString::number(highest));
    painter.drawText(QRect(0, plot.bottom() - line / 2, plot.left() - 4, line), Qt::AlignRight, QStringLiteral("0"));

    const double slot = double(plot.width()) / double(m_groups.size());
    const double bar = std::max(1.0, slot * 0.4);
    for (qsizetype index = 0; index < m_groups.size(); ++index) {
        const RunGroup &group = m_groups[index];
        const double x = plot.left() + slot * double(index) + slot * 0.1;
        const auto height = [&](qint64 value) { return double(plot.height()) * double(value) / double(highest); };
        painter.fillRect(QRectF(x, plot.bottom() - height(group.wrongAnswers), bar, height(group.wrongAnswers)),
                         kWrongColour);
        painter.fillRect(QRectF(x + bar, plot.bottom() - height(group.shownAnswers), bar, height(group.shownAnswers)),
                         kShownColour);
        if (group.leftEarly > 0) {
            painter.setBrush(kLeftEarlyColour);
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(QPointF(x + bar, plot.bottom() + line * 0.6), line * 0.25, line * 0.25);
            painter.setPen(palette().text().color());
            painter.setBrush(Qt::NoBrush);
        }
    }
    const QString across = m_runsPerGroup > 1 ? QStringLiteral("futások (%1-esével)").arg(m_runsPerGroup)
                                              : QStringLiteral("futások sorrendben");
    painter.drawText(QRect(plot.left(), plot.bottom() + line, plot.width(), line), Qt::AlignCenter, across);

    // The key.
    int x = plot.left();
    const int y = plot.bottom() + line * 2 + line / 2;
    for (const auto &[colour, label] :
         {std::pair{kWrongColour, QStringLiteral("hibák")}, std::pair{kShownColour, QStringLiteral("megmutatva")},
          std::pair{kLeftEarlyColour, QStringLiteral("„Csalás volt!” (vissza)")}}) {
        painter.fillRect(QRect(x, y, line, line), colour);
        x += line + 4;
        painter.drawText(QRect(x, y, metrics.horizontalAdvance(label) + 2, line), Qt::AlignLeft, label);
        x += metrics.horizontalAdvance(label) + line;
    }
}

QString runsChartDescription(const LearnerFigures &learner)
{
    if (learner.groups.isEmpty())
        return QStringLiteral("Még nincs futása.");
    qint64 mostWrong = 0;
    for (const RunGroup &group : learner.groups)
        mostWrong = std::max(mostWrong, group.wrongAnswers);
    const RunGroup &last = learner.groups.last();
    return QStringLiteral("%1 futás, %2 oszlopban. Legtöbb hiba egy oszlopban: %3. Az utolsó oszlop: %4 hiba, %5 "
                          "megmutatott válasz, %6 „Csalás volt!” jelű futás.")
        .arg(learner.runs)
        .arg(learner.groups.size())
        .arg(mostWrong)
        .arg(last.wrongAnswers)
        .arg(last.shownAnswers)
        .arg(last.leftEarly);
}
