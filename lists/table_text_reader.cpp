// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/table_text_reader.h"

#include "lists/pair_check.h"
#include "lists/text_decoding.h"

namespace {

bool isLineEnd(QChar character)
{
    return character == QLatin1Char('\n') || character == QLatin1Char('\r');
}

// Moves past one line end (CR LF counts once) and counts it.
void skipLineEnd(const QString &text, qsizetype &position, int &line)
{
    if (text[position] == QLatin1Char('\r') && position + 1 < text.size() && text[position + 1] == QLatin1Char('\n'))
        ++position;
    ++position;
    ++line;
}

bool allEmpty(const QStringList &cells)
{
    return std::all_of(cells.begin(), cells.end(), [](const QString &cell) { return cell.isEmpty(); });
}

} // namespace

TableSplit splitTable(const QString &text, QChar separator, int firstLine)
{
    TableSplit split;
    const qsizetype size = text.size();
    qsizetype position = 0;
    int line = firstLine;
    while (position < size) {
        TableRecord record{line, {}};
        for (;;) {
            QString cell;
            bool quoted = false;
            if (position < size && text[position] == QLatin1Char('"')) {
                quoted = true;
                const int openedOn = line;
                ++position;
                for (;;) {
                    if (position >= size) {
                        split.problems.append({openedOn, QStringLiteral("az idézőjeles mező nincs lezárva")});
                        return split;
                    }
                    const QChar character = text[position++];
                    if (character == QLatin1Char('"')) {
                        if (position < size && text[position] == QLatin1Char('"'))
                            ++position;
                        else
                            break;
                    } else if (character == QLatin1Char('\n')
                               || (character == QLatin1Char('\r')
                                   && (position >= size || text[position] != QLatin1Char('\n')))) {
                        ++line;
                    }
                    cell += character;
                }
            }
            // Text after a closing quote belongs to the cell, as spreadsheets read it.
            const qsizetype start = position;
            while (position < size && text[position] != separator && !isLineEnd(text[position]))
                ++position;
            const QString rest = QStringView(text).sliced(start, position - start).trimmed().toString();
            record.cells.append(quoted ? cell + rest : rest);
            if (position < size && text[position] == separator) {
                ++position;
                continue;
            }
            break;
        }
        if (position < size)
            skipLineEnd(text, position, line);
        if (!allEmpty(record.cells))
            split.records.append(record);
    }
    return split;
}

QChar guessSeparator(const QString &text)
{
    int tabs = 0, semicolons = 0, commas = 0;
    bool inQuotes = false;
    for (const QChar character : text) {
        if (character == QLatin1Char('"'))
            inQuotes = !inQuotes;
        else if (!inQuotes && isLineEnd(character))
            break;
        else if (!inQuotes) {
            tabs += character == QLatin1Char('\t');
            semicolons += character == QLatin1Char(';');
            commas += character == QLatin1Char(',');
        }
    }
    if (tabs > 0)
        return QLatin1Char('\t');
    return semicolons > 0 || commas == 0 ? QLatin1Char(';') : QLatin1Char(',');
}

namespace {

// The number of cells that hold something, up to the last of them.
qsizetype filledWidth(const QStringList &cells)
{
    qsizetype width = cells.size();
    while (width > 0 && cells[width - 1].isEmpty())
        --width;
    return width;
}

} // namespace

ImportReading pairsOfTable(const TableSplit &table, const ColumnMap &defaultColumns, qsizetype maxWidth)
{
    ImportReading reading;
    reading.problems = table.problems;
    qsizetype first = 0;
    ColumnMap columns = defaultColumns;
    if (!table.records.isEmpty()) {
        if (const std::optional<ColumnMap> named = columnsNamedBy(table.records.first().cells)) {
            columns = *named;
            first = 1;
            if (maxWidth > 0)
                maxWidth = table.records.first().cells.size();
        }
    }
    const auto cellAt = [](const QStringList &cells, int column) {
        return column >= 0 && column < cells.size() ? cells[column] : QString();
    };
    for (qsizetype index = first; index < table.records.size(); ++index) {
        const TableRecord &record = table.records[index];
        // A separator typed inside an unquoted cell splits it: the tail would silently go missing.
        if (maxWidth > 0 && filledWidth(record.cells) > maxWidth) {
            reading.problems.append(
                {record.line, QStringLiteral("a sorban %1 mező van, de a táblázatnak csak %2 oszlopa; "
                                             "az elválasztójelet tartalmazó cellát idézőjelbe kell tenni")
                                  .arg(filledWidth(record.cells))
                                  .arg(maxWidth)});
            continue;
        }
        takePair(reading, record.line,
                 {cellAt(record.cells, columns.english), cellAt(record.cells, columns.hungarian),
                  cellAt(record.cells, columns.note)});
    }
    return reading;
}

ImportReading readTableText(const QByteArray &bytes)
{
    const QString text = decodeText(bytes);
    return pairsOfTable(splitTable(text, guessSeparator(text)), ColumnMap{}, 3);
}
