// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing a 20-pair word list, and checking answers: the pure work under the load,
// save and check handlers, without widgets or disk.
#include "platform/code_page.h"
#include "practice/answer_check.h"
#include "wordlist/word_list_file.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QString>

namespace {

// 20 records of realistic length, with Hungarian letters and several answers in some cells.
QByteArray twentyPairFile()
{
    QByteArray bytes;
    for (int i = 1; i <= kMaxPairs; ++i) {
        const QString english =
            i % 4 == 0 ? QStringLiteral("earth, soil, ground %1").arg(i) : QStringLiteral("window %1").arg(i);
        const QString hungarian = QStringLiteral("ablakpárkány és föld %1").arg(i);
        const QString note = i % 3 == 0 ? QStringLiteral("megjegyzés: őrült tűzoltó") : QStringLiteral(" ");
        bytes += QByteArray::number(i) + kFieldSeparator + platform::toCodePage(english) + kFieldSeparator
                 + platform::toCodePage(hungarian) + kFieldSeparator + platform::toCodePage(note) + kFieldSeparator
                 + "\r\n";
    }
    return bytes;
}

void readTwentyPairs(benchmark::State &state)
{
    const QByteArray bytes = twentyPairFile();
    for (auto _ : state) {
        WordListReading reading = readWordList(bytes);
        benchmark::DoNotOptimize(reading);
        if (reading.outcome != ReadOutcome::Complete || reading.pairCount != kMaxPairs)
            state.SkipWithError("the list did not read back");
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(readTwentyPairs);

void writeTwentyPairs(benchmark::State &state)
{
    const QByteArray bytes = twentyPairFile();
    const WordListReading reading = readWordList(bytes);
    for (auto _ : state) {
        std::optional<QByteArray> written = writeWordList(reading.rows, reading.pairCount);
        benchmark::DoNotOptimize(written);
        if (!written || *written != bytes)
            state.SkipWithError("the list did not write back byte for byte");
    }
}
BENCHMARK(writeTwentyPairs);

void checkOneAnswer(benchmark::State &state)
{
    const QString cell = QStringLiteral("ablakpárkány");
    const QString typed = QStringLiteral("ablakparkany");
    for (auto _ : state) {
        AnswerCheck check(cell);
        AnswerCheck::Result result = check.check(typed);
        benchmark::DoNotOptimize(result);
        if (result.verdict != AnswerCheck::Verdict::Wrong)
            state.SkipWithError("a wrong answer passed");
    }
}
BENCHMARK(checkOneAnswer);

// A cell of three answers, typed in turn: the last one solves the pair.
void checkThreeAnswers(benchmark::State &state)
{
    const QString cell = QStringLiteral("earth, soil , ground");
    const QString answers[] = {QStringLiteral("soil"), QStringLiteral("ground"), QStringLiteral("earth")};
    for (auto _ : state) {
        AnswerCheck check(cell);
        for (const QString &answer : answers)
            benchmark::DoNotOptimize(check.check(answer));
        if (!check.isSolved())
            state.SkipWithError("three right answers did not solve the pair");
    }
}
BENCHMARK(checkThreeAnswers);

} // namespace

BENCHMARK_MAIN();
