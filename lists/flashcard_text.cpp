// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/flashcard_text.h"

#include "lists/columns.h"
#include "lists/table_text_reader.h"
#include "lists/text_decoding.h"

#include <QHash>
#include <QSet>

namespace {

// A header line is a few words; a longer one is read only this far.
constexpr qsizetype kKeptHeaderLine = 4096;

struct FlashcardHeader {
    QChar separator;
    bool html = false;
    QStringList columnNames;
    QSet<int> otherColumns; // 0-based columns of tags, deck, note type, guid
    int bodyLine = 1;
    qsizetype bodyStart = 0; // in characters
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

FlashcardHeader headerOf(const QByteArray &bytes, TextEncoding encoding)
{
    FlashcardHeader header;
    QString columns;
    TextReader text(bytes, encoding);
    while (!text.atEnd() && text.peek() == QLatin1Char('#')) {
        text.next();
        ++header.bodyStart;
        QString line;
        while (!text.atEnd()) {
            ++header.bodyStart;
            const QChar character = text.next();
            if (character == QLatin1Char('\n'))
                break;
            if (line.size() < kKeptHeaderLine)
                line += character;
        }
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
        ++header.bodyLine;
    }
    if (header.separator.isNull())
        header.separator = guessSeparator(text);
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

ImportReading readFlashcardText(const QByteArray &bytes, qsizetype pairLimit, HeaderRow headerRow)
{
    ImportReading reading;
    reading.pairLimit = pairLimit;
    const TextEncoding encoding = encodingOf(bytes);
    const FlashcardHeader header = headerOf(bytes, encoding);
    TextReader text(bytes, encoding);
    text.skip(header.bodyStart);
    TableReader table(text, header.separator, header.bodyLine, header.html);
    if (const std::optional<ColumnMap> named = columnsNamedBy(header.columnNames)) {
        takeTable(reading, table, *named, 0, std::nullopt, headerRow);
        return reading;
    }
    // Without names, the columns come from the first row's width.
    std::optional<TableRecord> first = TableRecord();
    if (!table.next(*first))
        first.reset();
    const int widest = first ? int(std::min(first->width, kKeptCells)) : 0;
    QList<int> usable;
    for (int column = 0; column < std::max(widest, 3); ++column) {
        if (!header.otherColumns.contains(column))
            usable.append(column);
    }
    takeTable(reading, table, columnsInOrder(usable), 0, first, headerRow);
    return reading;
}
