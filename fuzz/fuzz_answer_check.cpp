// SPDX-License-Identifier: GPL-3.0-or-later
// Splits an arbitrary answer cell into its alternatives and answers it as a learner would: every
// alternative once, in an order the fuzzer picks, with wrong submissions in between.

#include "fuzz_check.h"

#include "platform/code_page.h"
#include "practice/answer_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

namespace {

QString consumeText(FuzzedDataProvider &input, size_t maxLength)
{
    const std::string bytes = input.ConsumeRandomLengthString(maxLength);
    return platform::fromCodePage(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// A submission that no open alternative equals: it must count as wrong and change nothing.
void checkWrongSubmission(AnswerCheck &check, const QString &typed)
{
    const AnswerCheck::Result result = check.check(typed);
    FUZZ_CHECK(result.verdict == AnswerCheck::Verdict::Wrong);
    FUZZ_CHECK(!check.isSolved());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString cell = consumeText(input, 200);
    const QString stray = consumeText(input, 40);

    const QStringList alternatives = answerAlternatives(cell);
    for (const QString &alternative : alternatives) {
        FUZZ_CHECK(!alternative.isEmpty());
        FUZZ_CHECK(!alternative.startsWith(QLatin1Char(' ')) && !alternative.endsWith(QLatin1Char(' ')));
        FUZZ_CHECK(!alternative.contains(QLatin1Char(',')));
        FUZZ_CHECK(cell.contains(alternative));
    }
    if (!cell.contains(QLatin1Char(',')))
        FUZZ_CHECK(alternatives.isEmpty());

    AnswerCheck check(cell);
    FUZZ_CHECK(check.hasSeveralAnswers() == !alternatives.isEmpty());
    FUZZ_CHECK(check.openingMessage().isEmpty() == alternatives.isEmpty());

    if (alternatives.isEmpty()) {
        // Checked whole: exactly the cell's text solves it, nothing is trimmed.
        if (stray != cell)
            checkWrongSubmission(check, stray);
        checkWrongSubmission(check, cell + QLatin1Char(' '));
        FUZZ_CHECK(check.check(cell).verdict == AnswerCheck::Verdict::Solved);
        FUZZ_CHECK(check.isSolved());
        return 0;
    }

    QStringList open = alternatives;
    while (!open.isEmpty()) {
        if (!open.contains(stray))
            checkWrongSubmission(check, stray);
        const QString typed = open.takeAt(input.ConsumeIntegralInRange<qsizetype>(0, open.size() - 1));
        const AnswerCheck::Verdict verdict = check.check(typed).verdict;
        FUZZ_CHECK(verdict == (open.isEmpty() ? AnswerCheck::Verdict::Solved : AnswerCheck::Verdict::Accepted));
        FUZZ_CHECK(check.isSolved() == open.isEmpty());
        // An alternative typed as often as the cell holds it is used up.
        if (!open.isEmpty() && !open.contains(typed))
            checkWrongSubmission(check, typed);
    }
    return 0;
}
