// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/word_pair.h"

QList<WordPair> pairsOfReading(const WordListReading &reading)
{
    QList<WordPair> pairs;
    for (int row = 1; row <= reading.pairCount; ++row) {
        const WordListRow &cells = reading.rows[row];
        pairs.append({cells[1], cells[2], cells[3] == QLatin1String(" ") ? QString() : cells[3]});
    }
    return pairs;
}

WordListRows rowsOfPairs(const QList<WordPair> &pairs)
{
    WordListRows rows;
    for (qsizetype index = 0; index < pairs.size() && index < kMaxPairs; ++index) {
        const WordPair &pair = pairs[index];
        rows[index + 1] = {QString::number(index + 1), pair.english, pair.hungarian,
                           pair.note.isEmpty() ? QStringLiteral(" ") : pair.note};
    }
    return rows;
}

void addProblem(ImportReading &reading, int line, const QString &reason)
{
    if (reading.problems.size() < kListedProblems)
        reading.problems.append({line, reason});
    ++reading.problemCount;
}

qsizetype listCountOf(const ImportReading &reading)
{
    const auto listsOf = [](qsizetype pairs) { return (pairs + kMaxPairs - 1) / kMaxPairs; };
    if (reading.listSizes.isEmpty() || reading.pairs.size() < reading.pairCount)
        return listsOf(reading.pairCount);
    qsizetype lists = 0;
    for (const qsizetype size : reading.listSizes)
        lists += listsOf(size);
    return lists;
}
