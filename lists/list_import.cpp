// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/list_import.h"

#include "lists/flashcard_text.h"
#include "lists/kvtml.h"
#include "lists/table_text_reader.h"

bool isUsableListName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
           && name != QLatin1String(".") && name != QLatin1String("..");
}

ImportReading readWordSource(const QByteArray &bytes, qsizetype pairLimit, HeaderRow headerRow)
{
    if (looksLikeXml(bytes))
        return readKvtml(bytes, pairLimit);
    if (looksLikeFlashcardText(bytes))
        return readFlashcardText(bytes, pairLimit, headerRow);
    return readTableText(bytes, pairLimit, headerRow);
}

QList<ListFile> listFilesOf(const QList<WordPair> &pairs, const QString &name, const QList<qsizetype> &runSizes)
{
    QList<QList<WordPair>> parts;
    qsizetype start = 0;
    for (const qsizetype size : runSizes.isEmpty() ? QList<qsizetype>{pairs.size()} : runSizes) {
        for (qsizetype offset = 0; offset < size; offset += kMaxPairs)
            parts.append(pairs.mid(start + offset, std::min<qsizetype>(kMaxPairs, size - offset)));
        start += size;
    }
    QList<ListFile> files;
    const int digits = std::max(2, int(QString::number(parts.size()).size()));
    for (qsizetype list = 0; list < parts.size(); ++list) {
        const QList<WordPair> &part = parts[list];
        // Every cell has passed the pair checks, so the writer has nothing to refuse.
        const std::optional<QByteArray> bytes = writeWordList(rowsOfPairs(part), int(part.size()));
        const QString fileName =
            parts.size() == 1 ? name : QStringLiteral("%1-%2").arg(name).arg(list + 1, digits, 10, QLatin1Char('0'));
        files.append({fileName + QStringLiteral(".szo"), bytes.value_or(QByteArray())});
    }
    return files;
}
