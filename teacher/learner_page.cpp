// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/learner_page.h"

#include "report/class_report.h"
#include "report/hungarian_order.h"
#include "teacher/runs_chart.h"
#include "teacher/sorted_cells.h"
#include "teacher/window_parts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString runText(const std::optional<RunSummary> &run)
{
    if (!run)
        return QStringLiteral("—");
    const QString date = run->date ? run->date->toString(QStringLiteral("yyyy. MM. dd.")) : run->dateText;
    return QStringLiteral("%1: %2 hiba, %3 megmutatva%4")
        .arg(date)
        .arg(run->wrongAnswers)
        .arg(run->shownAnswers)
        .arg(run->leftEarly ? QStringLiteral(", „Csalás volt!”") : QString());
}

QString stateNote(const LearnerFigures &learner)
{
    if (learner.logState == LogState::Read && learner.cut != ReadCut::None)
        return QStringLiteral("A naplónak csak az eleje került ide.");
    return logStateNote(learner);
}

} // namespace

LearnerPage::LearnerPage(const LearnerFigures &learner, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("tanuloLapja"));
    setWindowTitle(QStringLiteral("%1 eredményei").arg(learner.name));
    resize(760, 620);

    auto *summary = new QLabel(QStringLiteral("%1 futás, %2 hiba, %3 megmutatott válasz, %4 „Csalás volt!” jelű futás. "
                                              "Utolsó futás: %5. %6")
                                   .arg(learner.runs)
                                   .arg(learner.wrongAnswers)
                                   .arg(learner.shownAnswers)
                                   .arg(learner.leftEarly)
                                   .arg(runText(learner.lastRun), stateNote(learner)));
    summary->setObjectName(QStringLiteral("osszegzes"));
    summary->setWordWrap(true);
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    summary->setFocusPolicy(Qt::StrongFocus);
    summary->setAccessibleName(QStringLiteral("Összegzés"));

    auto *chart = new RunsChart(learner);

    QStringList names;
    for (const auto &[name, figures] : learner.lists)
        names.append(name);
    sortHungarian(names);
    QTableWidget *lists =
        readOnlyTable(QStringLiteral("szojegyzekei"), QStringLiteral("A gyakorolt szójegyzékek"),
                      {QStringLiteral("Szójegyzék"), QStringLiteral("Futások"), QStringLiteral("Hibák"),
                       QStringLiteral("Megmutatva"), QStringLiteral("„Csalás volt!”"), QStringLiteral("Utolsó futás")});
    lists->setRowCount(int(names.size()));
    for (int row = 0; row < names.size(); ++row) {
        const ListFigures &figures = learner.lists.find(names[row])->second;
        lists->setItem(row, 0, textCell(names[row].isEmpty() ? QStringLiteral("(név nélkül)") : names[row]));
        lists->setItem(row, 1, numberCell(figures.runs));
        lists->setItem(row, 2, numberCell(figures.wrongAnswers));
        lists->setItem(row, 3, numberCell(figures.shownAnswers));
        lists->setItem(row, 4, numberCell(figures.leftEarly));
        lists->setItem(row, 5, textCell(runText(figures.last)));
    }
    lists->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    lists->setSortingEnabled(true);
    lists->resizeColumnsToContents();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Bezárás"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(chart, 2);
    auto *listsLabel = new QLabel(QStringLiteral("&Szójegyzékei:"));
    listsLabel->setBuddy(lists);
    layout->addWidget(listsLabel);
    layout->addWidget(lists, 3);
    layout->addWidget(buttons);
}
