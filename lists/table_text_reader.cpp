// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/table_text_reader.h"

#include "lists/html_text.h"
#include "lists/pair_check.h"

namespace {

bool isLineEnd(QChar character)
{
    return character == QLatin1Char('\n') || character == QLatin1Char('\r');
}

// A cell as it is read into a string of the reader's, which keeps its room from row to row: its
// first characters, up to the kept length, and its whole length.
struct CellText {
    qsizetype limit;
    QString &kept;
    qsizetype length = 0;

    CellText(qsizetype limit, QString &kept) : limit(limit), kept(kept) { kept.resize(0); }
    void add(QChar character)
    {
        if (kept.size() < limit)
            kept += character;
        ++length;
    }
    void add(CellText &other)
    {
        kept += QStringView(other.kept).first(std::min(other.kept.size(), limit - kept.size()));
        length += other.length;
        other.kept.resize(0);
        other.length = 0;
    }
};

} // namespace

TableReader::TableReader(TextReader &text, QChar separator, int firstLine, bool markup)
    : text(text), separator(separator), line(firstLine), markup(markup)
{
}

bool TableReader::next(TableRecord &record)
{
    while (!problem && !text.atEnd()) {
        if (readRecord(record) && !problem)
            return true;
    }
    return false;
}

// False when every cell is empty, or at a quote left open.
bool TableReader::readRecord(TableRecord &record)
{
    record.line = line;
    record.width = 0;
    record.filledWidth = 0;
    const qsizetype limit = markup ? kKeptMarkupCellLength : kKeptCellLength;
    bool filled = false;
    for (;;) {
        if (record.width < kKeptCells && record.width == record.cells.size()) {
            record.cells.append(QString());
            record.lengths.append(0);
        }
        CellText cell(limit, record.width < kKeptCells ? record.cells[record.width] : uncounted);
        if (!text.atEnd() && text.peek() == QLatin1Char('"')) {
            const int openedOn = line;
            text.next();
            for (;;) {
                if (text.atEnd()) {
                    problem = ImportProblem{openedOn, QStringLiteral("az idézőjeles mező nincs lezárva")};
                    return false;
                }
                const QChar character = text.next();
                if (character == QLatin1Char('"')) {
                    if (!text.atEnd() && text.peek() == QLatin1Char('"'))
                        text.next();
                    else
                        break;
                } else if (character == QLatin1Char('\n')
                           || (character == QLatin1Char('\r') && (text.atEnd() || text.peek() != QLatin1Char('\n')))) {
                    ++line;
                }
                cell.add(character);
            }
        }
        // Text after a closing quote belongs to the cell, as spreadsheets read it, without its outer
        // spaces: spaces wait until something follows them.
        CellText spaces(limit, this->spaces);
        bool started = false;
        while (!text.atEnd() && text.peek() != separator && !isLineEnd(text.peek())) {
            const QChar character = text.next();
            if (character.isSpace()) {
                if (started)
                    spaces.add(character);
                continue;
            }
            started = true;
            if (spaces.length > 0)
                cell.add(spaces);
            cell.add(character);
        }
        filled = filled || cell.length > 0;
        if (markup) {
            // A field cut short stays too long by its length in the file.
            cell.kept = plainTextOfHtml(cell.kept);
            if (cell.length <= limit)
                cell.length = cell.kept.size();
        }
        if (record.width < kKeptCells)
            record.lengths[record.width] = cell.length;
        ++record.width;
        if (cell.length > 0)
            record.filledWidth = record.width;
        if (!text.atEnd() && text.peek() == separator) {
            text.next();
            continue;
        }
        break;
    }
    record.cells.resize(std::min(record.width, kKeptCells));
    record.lengths.resize(record.cells.size());
    if (!text.atEnd()) {
        if (text.next() == QLatin1Char('\r') && !text.atEnd() && text.peek() == QLatin1Char('\n'))
            text.next();
        ++line;
    }
    return filled;
}

QChar guessSeparator(TextReader &text)
{
    int tabs = 0, semicolons = 0, commas = 0;
    bool inQuotes = false;
    while (!text.atEnd()) {
        const QChar character = text.next();
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

void takeTable(ImportReading &reading, TableReader &table, const ColumnMap &defaultColumns, qsizetype maxWidth,
               std::optional<TableRecord> first, HeaderRow headerRow)
{
    ColumnMap columns = defaultColumns;
    TableRecord record;
    bool header = headerRow != HeaderRow::Absent;
    while (first || table.next(record)) {
        if (first)
            record = *std::exchange(first, std::nullopt);
        if (std::exchange(header, false)) {
            std::optional<ColumnMap> named = columnsNamedBy(record.cells);
            if (!named)
                named = columnsTitledBy(record.cells);
            if (named) {
                columns = *named;
                if (maxWidth > 0)
                    maxWidth = record.width;
            }
            if (named && headerRow == HeaderRow::Guess) {
                reading.guessedHeaderLine = record.line;
                reading.guessedHeader = record.cells.first(std::min(record.filledWidth, record.cells.size()));
            }
            if (named || headerRow == HeaderRow::Present)
                continue;
        }
        // A separator typed inside an unquoted cell splits it: the tail would silently go missing.
        if (maxWidth > 0 && record.filledWidth > maxWidth) {
            addProblem(reading, record.line,
                       QStringLiteral("a sorban %1 mező van, de a táblázatnak csak %2 oszlopa; "
                                      "az elválasztójelet tartalmazó cellát idézőjelbe kell tenni")
                           .arg(record.filledWidth)
                           .arg(maxWidth));
            continue;
        }
        const auto cellAt = [&record](int column) {
            return column >= 0 && column < record.cells.size() ? record.cells[column] : QString();
        };
        const auto lengthAt = [&record](int column) {
            return column >= 0 && column < record.lengths.size() ? record.lengths[column] : 0;
        };
        takePair(reading, record.line, {cellAt(columns.english), cellAt(columns.hungarian), cellAt(columns.note)},
                 {lengthAt(columns.english), lengthAt(columns.hungarian), lengthAt(columns.note)});
    }
    if (table.problem)
        addProblem(reading, table.problem->line, table.problem->reason);
}

ImportReading readTableText(const QByteArray &bytes, qsizetype pairLimit, HeaderRow headerRow)
{
    ImportReading reading;
    reading.pairLimit = pairLimit;
    const TextEncoding encoding = encodingOf(bytes);
    TextReader firstRow(bytes, encoding);
    const QChar separator = guessSeparator(firstRow);
    TextReader text(bytes, encoding);
    TableReader table(text, separator);
    takeTable(reading, table, ColumnMap{}, 3, std::nullopt, headerRow);
    return reading;
}
