// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/pair_check.h"

#include "platform/code_page.h"

#include <array>

namespace {

// The first fault of one cell, nothing when it has none; `what` names it ("az angol szó"). Without
// `describe` the fault is only found, not worded: a file of bad rows has millions that no one reads.
std::optional<QString> cellProblem(const QString &text, qsizetype length, const char *what, int maxLength,
                                   bool mayBeEmpty, bool describe)
{
    const QString name = describe ? QString::fromUtf8(what) : QString();
    length = std::max(length, text.size());
    if (length == 0) {
        if (mayBeEmpty)
            return std::nullopt;
        return describe ? QStringLiteral("%1 üres").arg(name) : QString();
    }
    for (const QChar character : text) {
        if (character == QLatin1Char(kFieldSeparator))
            return describe ? QStringLiteral("%1 a mezőelválasztó karaktert (0x0E) tartalmazza").arg(name) : QString();
        if (character == QLatin1Char('\n') || character == QLatin1Char('\r'))
            return describe ? QStringLiteral("%1 sortörést tartalmaz").arg(name) : QString();
        if (character.category() == QChar::Other_Control)
            return describe ? QStringLiteral("%1 vezérlőkaraktert tartalmaz (U+%2)")
                                  .arg(name)
                                  .arg(character.unicode(), 4, 16, QLatin1Char('0'))
                            : QString();
        if (!platform::codePageHolds(character))
            return describe
                       ? QStringLiteral("%1 olyan karaktert tartalmaz, amelyet a szójegyzékfájl nem tud tárolni: „%2”")
                             .arg(name, character.isSurrogate() ? QStringLiteral("(emoji)") : QString(character))
                       : QString();
    }
    if (length > maxLength)
        return describe
                   ? QStringLiteral("%1 %2 karakter hosszú, legfeljebb %3 lehet").arg(name).arg(length).arg(maxLength)
                   : QString();
    return std::nullopt;
}

std::array<std::optional<QString>, 3> cellProblems(const WordPair &pair, const CellLengths &lengths, bool describe)
{
    return {cellProblem(pair.english, lengths.english, "az angol szó", kMaxWordLength, false, describe),
            cellProblem(pair.hungarian, lengths.hungarian, "a magyar szó", kMaxWordLength, false, describe),
            cellProblem(pair.note, lengths.note, "a megjegyzés", kMaxNoteLength, true, describe)};
}

} // namespace

QStringList pairProblems(const WordPair &pair, const CellLengths &lengths)
{
    QStringList problems;
    for (const std::optional<QString> &problem : cellProblems(pair, lengths, true)) {
        if (problem)
            problems.append(*problem);
    }
    return problems;
}

void takePair(ImportReading &reading, int line, const WordPair &pair, const CellLengths &lengths)
{
    bool fine = true;
    for (const std::optional<QString> &problem :
         cellProblems(pair, lengths, reading.problems.size() < kListedProblems)) {
        if (problem) {
            addProblem(reading, line, *problem);
            fine = false;
        }
    }
    if (fine && reading.pairCount++ < reading.pairLimit)
        reading.pairs.append(pair);
}
