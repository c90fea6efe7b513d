// SPDX-License-Identifier: GPL-3.0-or-later
#include "wordlist/word_list_file.h"

#include <QTest>

#include <random>

namespace {

// Letters a learner types, every Hungarian accented letter among them, and the comma and space
// that separate alternatives.
const QString kLetters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                        "áéíóöőúüűÁÉÍÓÖŐÚÜŰ-'.!?0123456789");

class RandomList {
public:
    explicit RandomList(unsigned seed) : m_generator(seed) {}

    WordListRows rows(int pairCount)
    {
        WordListRows rows;
        for (int row = 1; row <= pairCount; ++row) {
            const QString note = number(0, 3) == 0 ? QStringLiteral(" ") : cell(50);
            rows[row] = {QString::number(row), cell(25), cell(25), note};
        }
        return rows;
    }

    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_generator); }

private:
    QString word(int maxLength)
    {
        QString text;
        const int length = number(1, maxLength);
        for (int i = 0; i < length; ++i)
            text += number(0, 9) == 0 ? QChar(' ') : kLetters.at(number(0, int(kLetters.size()) - 1));
        return text;
    }

    // Sometimes several alternatives ("megy, sétál"), never longer than the box allows.
    QString cell(int maxLength)
    {
        QString text = word(maxLength);
        while (number(0, 2) == 0 && text.size() + 3 <= maxLength)
            text += QStringLiteral(", ") + word(maxLength - int(text.size()) - 2);
        return text;
    }

    std::mt19937 m_generator;
};

} // namespace

class TestWordListRoundTrip : public QObject {
    Q_OBJECT

private slots:
    void randomListsReadBackAsWritten()
    {
        RandomList random(20240611);
        for (int list = 0; list < 5000; ++list) {
            const int pairCount = random.number(1, kMaxPairs);
            const WordListRows rows = random.rows(pairCount);
            const std::optional<QByteArray> bytes = writeWordList(rows, pairCount);
            QVERIFY2(bytes.has_value(), qPrintable(QStringLiteral("list %1").arg(list)));

            // One byte a character: no letter may be lost to a substitute or widened.
            qsizetype characters = 0;
            for (int row = 1; row <= pairCount; ++row) {
                for (const QString &text : rows[row])
                    characters += text.size() + 1;
                characters += 2;
            }
            QCOMPARE(bytes->size(), characters);

            const WordListReading reading = readWordList(*bytes);
            QVERIFY2(reading.outcome == ReadOutcome::Complete && reading.pairCount == pairCount && reading.rows == rows,
                     qPrintable(QStringLiteral("list %1: %2").arg(list).arg(QString::fromLatin1(bytes->toHex()))));
        }
    }
};

QTEST_MAIN(TestWordListRoundTrip)
#include "test_word_list_round_trip.moc"
