// SPDX-License-Identifier: GPL-3.0-or-later
#include "wordlist/word_list_file.h"

#include "platform/code_page.h"
#include "platform/stored_text.h"

#include <algorithm>

namespace {

// Reads the text field by field. Line ends are skipped unexamined, so a file whose lines end in
// something other than CR LF breaks the next record's number.
class RecordReader {
public:
    explicit RecordReader(const QByteArray &bytes) : m_bytes(bytes) {}

    bool atEnd() const { return m_position >= m_bytes.size(); }

    // A field runs up to the next separator and leaves the position on it; its first byte is taken
    // whatever it is. Nothing when the text ends before the separator.
    std::optional<QByteArray> readField()
    {
        const qsizetype start = m_position;
        const qsizetype separator = m_bytes.indexOf(kFieldSeparator, start + 1);
        if (start >= m_bytes.size() || separator < 0)
            return std::nullopt;
        m_position = separator;
        return m_bytes.mid(start, separator - start);
    }

    void skip(qsizetype count) { m_position += count; }

private:
    const QByteArray &m_bytes;
    qsizetype m_position = 0;
};

// The record's number read as a decimal integer: leading spaces, a sign and leading zeros are
// allowed (" 1", "+1", "001"), nothing after the digits. 0 for anything that is not 1..20.
int recordNumber(const QByteArray &field)
{
    qsizetype position = 0;
    while (position < field.size() && field[position] == ' ')
        ++position;
    bool negative = false;
    if (position < field.size() && (field[position] == '+' || field[position] == '-'))
        negative = field[position++] == '-';
    const QByteArray digits = field.mid(position);
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    int number = 0;
    for (const char digit : digits)
        number = std::min(number * 10 + (digit - '0'), kMaxPairs + 1);
    return !negative && number >= 1 && number <= kMaxPairs ? number : 0;
}

bool isUsed(const WordListRow &row)
{
    return !row[0].isEmpty();
}

// The rows 1..pairCount must all hold a record, and no row after them.
bool leavesNoGap(const WordListRows &rows, int pairCount)
{
    for (int row = 1; row <= kMaxPairs; ++row) {
        if (isUsed(rows[row]) != (row <= pairCount))
            return false;
    }
    return true;
}

} // namespace

WordListReading readWordList(const QByteArray &bytes)
{
    WordListReading reading;
    if (bytes.size() > kMaxWordListFileSize) {
        reading.outcome = ReadOutcome::Empty;
        return reading;
    }

    RecordReader reader(bytes);
    int recordsRead = 0;
    do {
        const std::optional<QByteArray> numberField = reader.readField();
        if (!numberField) {
            reading.outcome = ReadOutcome::Empty;
            return reading;
        }
        const int number = recordNumber(*numberField);
        if (number == 0) {
            reading.outcome = ReadOutcome::BadRecordNumber;
            return reading;
        }
        WordListRow &row = reading.rows[number];
        row[0] = QString::number(number);
        for (int column = 1; column <= 3; ++column) {
            reader.skip(1);
            const std::optional<QByteArray> field = reader.readField();
            if (!field) {
                reading.outcome = ReadOutcome::Empty;
                return reading;
            }
            // A field that starts with the separator was empty in the file and swallowed the next one.
            if (field->startsWith(kFieldSeparator)) {
                reading.outcome = ReadOutcome::EmptyField;
                return reading;
            }
            const QString cell = platform::fromCodePage(*field);
            // No box can type such a cell, so the pair could never be answered.
            if (!isStorableText(cell)) {
                reading.outcome = ReadOutcome::UnstorableText;
                return reading;
            }
            row[column] = cell;
        }
        reader.skip(3);
        reading.pairCount = number;
        ++recordsRead;
    } while (!reader.atEnd());

    // A repeated number would leave one of its pairs out of the list, silently.
    if (!leavesNoGap(reading.rows, reading.pairCount) || recordsRead != reading.pairCount)
        reading.outcome = ReadOutcome::NumberingGap;
    return reading;
}

std::optional<QByteArray> writeWordList(const WordListRows &rows, int pairCount)
{
    QByteArray bytes;
    for (int row = 1; row <= pairCount; ++row) {
        for (const QString &cell : rows[row]) {
            if (cell.isEmpty())
                return std::nullopt;
            bytes += platform::toCodePage(cell);
            bytes += kFieldSeparator;
        }
        bytes += "\r\n";
    }
    return bytes;
}
