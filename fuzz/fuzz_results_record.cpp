// SPDX-License-Identifier: GPL-3.0-or-later
// Builds a results record from arbitrary names, figures, moments and locales, and checks that it
// stays one line of the log.

#include "fuzz_check.h"

#include "results/results_record.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QTimeZone>

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace {

// Any UTF-16 text, lone surrogates included: names reach the record from files and file names.
QString consumeName(FuzzedDataProvider &input)
{
    const std::string bytes = input.ConsumeRandomLengthString(120);
    QString name;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        name.append(QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes[i])
                                                | static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return name;
}

const std::array<const char *, 8> kLocales = {"hu_HU", "en_US", "C", "de_DE", "ja_JP", "ar_EG", "fa_IR", "zh_CN"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    RunFigures run;
    run.learner = consumeName(input);
    run.listName = consumeName(input);
    run.direction = input.PickValueInArray(
        {PracticeDirection::EnglishHungarian, PracticeDirection::HungarianEnglish, PracticeDirection::Mixed});
    run.shownAnswers = input.ConsumeIntegralInRange<qint64>(0, std::numeric_limits<qint64>::max());
    run.wrongAnswers = input.ConsumeIntegralInRange<qint64>(0, std::numeric_limits<qint64>::max());
    run.pairCount = input.ConsumeIntegralInRange<int>(1, 20);
    run.allWordsSolved = input.ConsumeBool();
    const QLocale locale(QString::fromLatin1(input.PickValueInArray(kLocales)));
    // 1970 to 2100, in UTC so that the moment does not depend on the machine.
    const qint64 msecs = input.ConsumeIntegralInRange<qint64>(0, 4'102'444'800'000);
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(msecs, QTimeZone::utc());

    const QByteArray record = resultsRecordBytes(run, at, locale);
    FUZZ_CHECK(record.endsWith("\r\n"));
    const QByteArray line = record.chopped(2);
    FUZZ_CHECK(!line.contains('\r') && !line.contains('\n'));
    // Characters the code page cannot hold are written as "?", never as the encoder's 0x1A.
    if (!run.learner.contains(QChar(0x1A)) && !run.listName.contains(QChar(0x1A)))
        FUZZ_CHECK(!line.contains('\x1A'));
    const QLatin1String mark(",  Csal\xE1s volt! (vissza)");
    if (!run.learner.contains(mark) && !run.listName.contains(mark))
        FUZZ_CHECK(line.contains(mark.data()) == !run.allWordsSolved);
    FUZZ_CHECK(line.endsWith(",  A szavak sz\xE1ma: " + QByteArray::number(run.pairCount)));
    return 0;
}
