// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clock.h"

#include <QTest>

#include <numeric>

namespace {

class FixedClock final : public platform::Clock {
public:
    QDateTime now() const override { return at; }
    QDateTime at = QDateTime(QDate(2004, 11, 28), QTime(12, 0));
};

} // namespace

class TestClock : public QObject {
    Q_OBJECT

private slots:
    void drawsAreUniformInUnitIntervalAndFollowTheSeed()
    {
        FixedClock clock;
        platform::ClockSeededRandom random(clock);
        QList<float> first;
        for (int i = 0; i < 1000; ++i) {
            const float r = random.nextUniform();
            QVERIFY(r >= 0.0f && r < 1.0f);
            first.append(r);
        }
        const float mean = std::accumulate(first.begin(), first.end(), 0.0f) / first.size();
        QVERIFY(mean > 0.45f && mean < 0.55f);

        // A source made at the same moment draws the same numbers...
        platform::ClockSeededRandom twin(clock);
        QCOMPARE(twin.nextUniform(), first[0]);
        // ...but a reseed in the same millisecond never replays a stream already drawn from.
        QList<float> reseeded;
        for (int seeding = 0; seeding < 3; ++seeding) {
            random.seedFromClock();
            reseeded.append(random.nextUniform());
        }
        QVERIFY(!reseeded.contains(first[0]));
        QCOMPARE(QSet<float>(reseeded.begin(), reseeded.end()).size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestClock)
#include "test_clock.moc"
