// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/results_record.h"

#include "platform/code_page.h"
#include "results/results_log.h"

namespace {

// A time format with its time zone field ("t") taken out, together with the spaces and the
// parentheses that only served it: "h:mm:ss AP t" gives "h:mm:ss AP", "H:mm:ss (t)" "H:mm:ss".
QString withoutTimeZone(const QString &format)
{
    QString kept;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            kept.append(c);
            continue;
        }
        if (quoted || c != QLatin1Char('t')) {
            kept.append(c);
            continue;
        }
        while (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('t'))
            ++i;
        while (kept.endsWith(QLatin1Char(' ')) || kept.endsWith(QLatin1Char('(')))
            kept.chop(1);
        while (i + 1 < format.size() && (format.at(i + 1) == QLatin1Char(' ') || format.at(i + 1) == QLatin1Char(')')))
            ++i;
        if (!kept.isEmpty() && i + 1 < format.size())
            kept.append(QLatin1Char(' '));
    }
    return kept;
}

// A name written into the record: a line end in it (a file name may hold one) would split the
// record, so every control character becomes "?", as the code page's missing letters do.
QString onOneLine(QString name)
{
    for (QChar &c : name) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    }
    return name;
}

} // namespace

QString resultsDirectionText(PracticeDirection direction)
{
    switch (direction) {
    case PracticeDirection::EnglishHungarian:
        return QStringLiteral(" Angol - Magyar");
    case PracticeDirection::HungarianEnglish:
        return QStringLiteral(" Magyar - Angol");
    case PracticeDirection::Mixed:
        break;
    }
    return QStringLiteral("     Vegyes    ");
}

QString recordDateTimeText(const QDateTime &at, const QLocale &locale)
{
    return locale.toString(at.date(), QLocale::ShortFormat) + QStringLiteral(", ")
           + locale.toString(at.time(), withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
}

QString resultsRecordText(const RunFigures &run, const QString &dateTimeText)
{
    QString line = dateTimeText + QStringLiteral(",  Név: ") + onOneLine(run.learner);
    if (!run.allWordsSolved)
        line += QStringLiteral(",  Csalás volt! (vissza)");
    return line + QStringLiteral(",  A szójegyzék neve: ") + onOneLine(run.listName)
           + QStringLiteral(",  A felhozatal: ") + resultsDirectionText(run.direction)
           + QStringLiteral(",  Megmutattam: ") + QString::number(run.shownAnswers) + QStringLiteral(",  Hibák Száma: ")
           + QString::number(run.wrongAnswers) + QStringLiteral(",  A szavak száma: ") + QString::number(run.pairCount);
}

QByteArray resultsRecordBytes(const RunFigures &run, const QDateTime &at, const QLocale &locale)
{
    return platform::toCodePageOrQuestionMark(resultsRecordText(run, recordDateTimeText(at, locale))) + "\r\n";
}

QByteArray resultsLogAppendix(bool logExists, const QString &learner, const QByteArray &record)
{
    return logExists ? record : resultsLogHeader(learner) + record;
}
