// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/question_draw.h"
#include "support/fixed_random.h"

#include <QTest>

using Rows = std::vector<int>;

class TestQuestionDraw : public QObject {
    Q_OBJECT

private slots:
    void order_data()
    {
        QTest::addColumn<int>("pairCount");
        QTest::addColumn<QList<float>>("numbers");
        QTest::addColumn<Rows>("order");
        // 4 × r + 1: 0.9 gives 5 (too big), 0.125 gives 1.5 -> 2, 0.375 gives 2.5 -> 2 (taken),
        // 0.1 gives 1, 0.875 gives 4.5 -> 4, 0.5 gives 3.
        QTest::addRow("halves to even, rejects")
            << 4 << QList<float>{0.9f, 0.125f, 0.375f, 0.1f, 0.875f, 0.5f} << Rows{2, 1, 4, 3};
        QTest::addRow("one pair") << 1 << QList<float>{0.7f, 0.2f} << Rows{1};
        QTest::addRow("no pairs: one draw") << 0 << QList<float>{0.3f} << Rows{};
    }

    void order()
    {
        QFETCH(int, pairCount);
        QFETCH(QList<float>, numbers);
        QFETCH(Rows, order);
        FixedRandom random(numbers);
        QCOMPARE(drawQuestionOrder(pairCount, random), order);
        QVERIFY(random.numbers.isEmpty() && random.drawn == numbers.size());
        QCOMPARE(random.reseeds, 0);
    }

    void directions()
    {
        FixedRandom random({0.5f, 0.50001f, 0.0f, 0.99f});
        QCOMPARE(drawQuestionDirections(4, random), (Rows{0, 1, 0, 1}));
    }
};

QTEST_GUILESS_MAIN(TestQuestionDraw)
#include "test_question_draw.moc"
