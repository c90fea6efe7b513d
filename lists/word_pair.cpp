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
