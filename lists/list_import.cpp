// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/list_import.h"

#include "lists/flashcard_text.h"
#include "lists/kvtml.h"
#include "lists/table_text_reader.h"

ImportReading readWordSource(const QByteArray &bytes)
{
    if (looksLikeXml(bytes))
        return readKvtml(bytes);
    if (looksLikeFlashcardText(bytes))
        return readFlashcardText(bytes);
    return readTableText(bytes);
}

QList<ListFile> listFilesOf(const QList<WordPair> &pairs, const QString &name)
{
    QList<ListFile> files;
    const qsizetype count = (pairs.size() + kMaxPairs - 1) / kMaxPairs;
    const int digits = std::max(2, int(QString::number(count).size()));
    for (qsizetype list = 0; list < count; ++list) {
        const QList<WordPair> part = pairs.mid(list * kMaxPairs, kMaxPairs);
        // Every cell has passed the pair checks, so the writer has nothing to refuse.
        const std::optional<QByteArray> bytes = writeWordList(rowsOfPairs(part), int(part.size()));
        const QString fileName = count == 1 ? name : QStringLiteral("%1-%2").arg(name).arg(list + 1, digits, 10, QLatin1Char('0'));
        files.append({fileName + QStringLiteral(".szo"), bytes.value_or(QByteArray())});
    }
    return files;
}
