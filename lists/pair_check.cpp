// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/pair_check.h"

#include "platform/code_page.h"

namespace {

// The first fault of one cell; `what` names it ("az angol szó").
QString cellProblem(const QString &text, const QString &what, int maxLength, bool mayBeEmpty)
{
    if (text.isEmpty())
        return mayBeEmpty ? QString() : QStringLiteral("%1 üres").arg(what);
    for (const QChar character : text) {
        if (character == QLatin1Char(kFieldSeparator))
            return QStringLiteral("%1 a mezőelválasztó karaktert (0x0E) tartalmazza").arg(what);
        if (character == QLatin1Char('\n') || character == QLatin1Char('\r'))
            return QStringLiteral("%1 sortörést tartalmaz").arg(what);
        if (character.category() == QChar::Other_Control)
            return QStringLiteral("%1 vezérlőkaraktert tartalmaz (U+%2)")
                .arg(what)
                .arg(character.unicode(), 4, 16, QLatin1Char('0'));
        if (!platform::codePageHolds(character))
            return QStringLiteral("%1 olyan karaktert tartalmaz, amelyet a szójegyzékfájl nem tud tárolni: „%2”")
                .arg(what, character.isSurrogate() ? QStringLiteral("(emoji)") : QString(character));
    }
    if (text.size() > maxLength)
        return QStringLiteral("%1 %2 karakter hosszú, legfeljebb %3 lehet").arg(what).arg(text.size()).arg(maxLength);
    return {};
}

} // namespace

QStringList pairProblems(const WordPair &pair)
{
    QStringList problems;
    for (const QString &problem : {cellProblem(pair.english, QStringLiteral("az angol szó"), kMaxWordLength, false),
                                   cellProblem(pair.hungarian, QStringLiteral("a magyar szó"), kMaxWordLength, false),
                                   cellProblem(pair.note, QStringLiteral("a megjegyzés"), kMaxNoteLength, true)}) {
        if (!problem.isEmpty())
            problems.append(problem);
    }
    return problems;
}

void takePair(ImportReading &reading, int line, const WordPair &pair)
{
    const QStringList problems = pairProblems(pair);
    if (problems.isEmpty())
        reading.pairs.append(pair);
    for (const QString &problem : problems)
        reading.problems.append({line, problem});
}
