// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as a word-list file and checks what the reader promises; a complete
// reading must survive a write and a second read unchanged. The same bytes, taken as a grid of
// storable text, must survive a write and a read as well.

#include "fuzz_check.h"

#include "platform/code_page.h"
#include "platform/stored_text.h"
#include "wordlist/word_list_file.h"

#include <QList>

#include <cstddef>
#include <cstdint>

namespace {

bool isEmptyRow(const WordListRow &row)
{
    for (const QString &cell : row) {
        if (!cell.isEmpty())
            return false;
    }
    return true;
}

void checkReading(const QByteArray &bytes)
{
    const WordListReading reading = readWordList(bytes);
    switch (reading.outcome) {
    case ReadOutcome::Complete:
    case ReadOutcome::Empty:
    case ReadOutcome::BadRecordNumber:
    case ReadOutcome::EmptyField:
    case ReadOutcome::NumberingGap:
    case ReadOutcome::UnstorableText:
        break;
    default:
        FUZZ_CHECK(!"an outcome outside ReadOutcome");
    }
    FUZZ_CHECK(isEmptyRow(reading.rows[0]));
    FUZZ_CHECK(reading.pairCount >= 0 && reading.pairCount <= kMaxPairs);
    if (bytes.size() > kMaxWordListFileSize)
        FUZZ_CHECK(reading.outcome == ReadOutcome::Empty && reading.pairCount == 0);

    // Whatever the outcome, a row holds its own number or nothing, and no cell holds a separator.
    for (int row = 1; row <= kMaxPairs; ++row) {
        const WordListRow &cells = reading.rows[row];
        FUZZ_CHECK(cells[0].isEmpty() || cells[0] == QString::number(row));
        if (cells[0].isEmpty())
            FUZZ_CHECK(isEmptyRow(cells));
        for (const QString &cell : cells)
            FUZZ_CHECK(!cell.contains(QLatin1Char(kFieldSeparator)));
    }

    if (reading.outcome != ReadOutcome::Complete)
        return;
    FUZZ_CHECK(reading.pairCount >= 1);
    for (int row = 1; row <= kMaxPairs; ++row) {
        if (row > reading.pairCount) {
            FUZZ_CHECK(isEmptyRow(reading.rows[row]));
            continue;
        }
        for (const QString &cell : reading.rows[row])
            FUZZ_CHECK(!cell.isEmpty() && isStorableText(cell));
    }

    const std::optional<QByteArray> written = writeWordList(reading.rows, reading.pairCount);
    FUZZ_CHECK(written.has_value());
    const WordListReading again = readWordList(*written);
    FUZZ_CHECK(again.outcome == ReadOutcome::Complete);
    FUZZ_CHECK(again.pairCount == reading.pairCount);
    FUZZ_CHECK(again.rows == reading.rows);
}

// The first byte picks the pair count, the rest are the cells in row order, split at 0x0E.
void checkWriting(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    const int pairCount = static_cast<unsigned char>(bytes.at(0)) % (kMaxPairs + 1);
    const QList<QByteArray> cells = bytes.mid(1).split(kFieldSeparator);
    WordListRows rows;
    bool anyCellEmpty = false;
    qsizetype next = 0;
    for (int row = 1; row <= pairCount; ++row) {
        rows[row][0] = QString::number(row);
        for (int column = 1; column <= 3; ++column) {
            if (next < cells.size())
                rows[row][column] = storablePart(platform::fromCodePage(cells.at(next++)));
            anyCellEmpty = anyCellEmpty || rows[row][column].isEmpty();
        }
    }

    const std::optional<QByteArray> written = writeWordList(rows, pairCount);
    FUZZ_CHECK(written.has_value() == !anyCellEmpty);
    // The program's boxes keep a list far below the size limit; only the fuzzer reaches it.
    if (!written || pairCount == 0 || written->size() > kMaxWordListFileSize)
        return;
    const WordListReading reading = readWordList(*written);
    FUZZ_CHECK(reading.outcome == ReadOutcome::Complete);
    FUZZ_CHECK(reading.pairCount == pairCount);
    FUZZ_CHECK(reading.rows == rows);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    checkReading(bytes);
    checkWriting(bytes);
    return 0;
}
