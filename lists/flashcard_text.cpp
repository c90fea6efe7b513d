// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/flashcard_text.h"

#include "lists/columns.h"
#include "lists/html_text.h"
#include "lists/table_text_reader.h"
#include "lists/text_decoding.h"

#include <QHash>
#include <QSet>

namespace {

struct FlashcardHeader {
    QChar separator;
    bool html = false;
    QStringList columnNames;
    QSet<int> otherColumns; // 0-based columns of tags, deck, note type, guid
    int bodyLine = 1;
    qsizetype bodyStart = 0;
};

QChar separatorNamed(const QString &value)
{
    static const QHash<QString, QChar> named = {{"tab", '\t'},  {"comma", ','}, {"semicolon", ';'},
                                                {"space", ' '}, {"pipe", '|'},  {"colon", ':'}};
    const QString key = value.trimmed().toLower();
    if (named.contains(key))
        return named.value(key);
    return value.size() == 1 ? value[0] : QChar();
}

FlashcardHeader headerOf(const QString &text)
{
    FlashcardHeader header;
    QString columns;
    while (header.bodyStart < text.size() && text[header.bodyStart] == QLatin1Char('#')) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), header.bodyStart);
        if (end < 0)
            end = text.size();
        QString line = text.mid(header.bodyStart + 1, end - header.bodyStart - 1);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString key = line.section(QLatin1Char(':'), 0, 0).trimmed().toLower();
        const QString value = line.section(QLatin1Char(':'), 1);
        if (key == QLatin1String("separator"))
            header.separator = separatorNamed(value);
        else if (key == QLatin1String("html"))
            header.html = value.trimmed().toLower() == QLatin1String("true");
        else if (key == QLatin1String("columns"))
            columns = value;
        else if (key.endsWith(QLatin1String(" column")))
            header.otherColumns.insert(value.trimmed().toInt() - 1);
        header.bodyStart = end + 1;
        ++header.bodyLine;
    }
    if (header.separator.isNull())
        header.separator = guessSeparator(text.mid(header.bodyStart));
    if (!columns.isEmpty())
        header.columnNames = columns.split(header.separator);
    return header;
}

} // namespace

bool looksLikeFlashcardText(const QByteArray &bytes)
{
    const QByteArray start = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3, 16) : bytes.left(16);
    return start.startsWith("#separator:") || start.startsWith("#html:") || start.startsWith("#columns:");
}

ImportReading readFlashcardText(const QByteArray &bytes)
{
    const QString text = decodeText(bytes);
    const FlashcardHeader header = headerOf(text);
    TableSplit table = splitTable(text.mid(header.bodyStart), header.separator, header.bodyLine);
    if (header.html) {
        for (TableRecord &record : table.records) {
            for (QString &cell : record.cells)
                cell = plainTextOfHtml(cell);
        }
    }
    if (const std::optional<ColumnMap> named = columnsNamedBy(header.columnNames))
        return pairsOfTable(table, *named);
    const int widest = table.records.isEmpty() ? 0 : int(table.records.first().cells.size());
    QList<int> usable;
    for (int column = 0; column < std::max(widest, 3); ++column) {
        if (!header.otherColumns.contains(column))
            usable.append(column);
    }
    return pairsOfTable(table, columnsInOrder(usable));
}
