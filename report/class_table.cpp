// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/class_table.h"

#include "report/hungarian_order.h"

namespace {

QString csvCell(QString text)
{
    if (!text.isEmpty() && QStringLiteral("=+-@\t\r").contains(text.front()))
        text.prepend(QLatin1Char('\''));
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

QList<ClassTableRow> classTableRows(const ClassReport &report)
{
    QList<ClassTableRow> rows;
    rows.reserve(report.learners.size());
    for (const LearnerFigures &learner : report.learners) {
        ClassTableRow row;
        row.name = learner.name;
        row.runs = learner.runs;
        row.listsLeftOut = learner.listsLeftOut;
        row.wrongAnswers = learner.wrongAnswers;
        row.shownAnswers = learner.shownAnswers;
        row.leftEarly = learner.leftEarly;
        row.strayLines = learner.strayLineCount;
        if (learner.lastRun) {
            row.lastRunDate = learner.lastRun->date;
            row.lastRunText = learner.lastRun->date ? learner.lastRun->date->toString(QStringLiteral("yyyy. MM. dd."))
                                                    : learner.lastRun->dateText;
        }
        for (const auto &[name, figures] : learner.lists)
            row.practisedLists.append(name);
        sortHungarian(row.practisedLists);
        rows.append(row);
    }
    return rows;
}

QByteArray classTableCsv(const QList<ClassTableRow> &rows)
{
    QString text = QStringLiteral("Név;Futások;Utolsó futás;Gyakorolt szójegyzékek;Hibák összesen;Megmutatott "
                                  "válaszok;„Csalás volt!” jelű futások;Nem eredménysorok\r\n");
    for (const ClassTableRow &row : rows) {
        QString lists = row.practisedLists.join(QStringLiteral(" · ")); // list names may hold commas
        if (row.listsLeftOut > 0)
            lists += QStringLiteral(" és még %1").arg(row.listsLeftOut);
        const QString last = row.lastRunDate ? row.lastRunDate->toString(Qt::ISODate) : row.lastRunText;
        text += QStringList{csvCell(row.name),
                            QString::number(row.runs),
                            csvCell(last),
                            csvCell(lists),
                            QString::number(row.wrongAnswers),
                            QString::number(row.shownAnswers),
                            QString::number(row.leftEarly),
                            QString::number(row.strayLines)}
                    .join(QLatin1Char(';'))
                + QLatin1String("\r\n");
    }
    return "\xEF\xBB\xBF" + text.toUtf8();
}
