// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/practice_run.h"
#include "support/fixed_random.h"

#include <QTest>

namespace {

// A view as "control=value" lines, so that a whole screen change compares at once.
QStringList describe(const PracticeView &view)
{
    QStringList lines;
    const std::pair<const char *, const std::optional<QString> &> texts[] = {
        {"Text4", view.englishBox}, {"Text5", view.hungarianBox}, {"Text10", view.note},
        {"Text9", view.message},    {"Text7", view.wrongCounter}, {"Text8", view.shownCounter}};
    for (const auto &[name, value] : texts)
        if (value)
            lines << QLatin1String(name) + QLatin1Char('=') + *value;
    if (view.promptBox)
        lines << (view.promptBox == PracticeBox::English ? "readOnly=Text4" : "readOnly=Text5");
    if (view.focus)
        lines << QStringList{"focus=Text4", "focus=Text5", "focus=Vissza"}.at(int(*view.focus));
    if (view.runFinished)
        lines << "finished";
    return lines;
}

const QString kClosing = QStringLiteral("Text9=Az öszes szót sikerült megoldani! Kattints a Vissza gombra!");
const QString kWrong = QStringLiteral("Text9=A beírt szó nem felel meg! Kérlek ismételd meg!");
const std::vector<WordPair> kPairs{
    {"dog", "kutya", "háziállat"}, {"apple", "alma, körte", " "}, {"cat", "macska", "x"}};

} // namespace

class TestPracticeRun : public QObject {
    Q_OBJECT

private slots:
    void englishHungarianRun()
    {
        FixedRandom random({0.5f, 0.0f}); // rows 2, 1
        PracticeRun run({kPairs[0], kPairs[1]}, PracticeDirection::EnglishHungarian, random);
        QCOMPARE(describe(run.opening()),
                 (QStringList{"Text4=apple", "Text10= ", "Text9=2-féle megoldás van!", "Text7=Rossz válasz: 0",
                              "Text8=Megmutattam: 0", "readOnly=Text4", "focus=Text5"}));
        QVERIFY(!run.pressMehet("apple", "").submits && run.pressMehet("", "x").submits);
        QCOMPARE(describe(run.submit("körte")),
                 (QStringList{"Text5=", "Text9=A beírt szó megfelel! Még 1 megoldás van hátra!", "focus=Text5"}));
        QCOMPARE(describe(run.submit("körte")),
                 (QStringList{"Text5=", kWrong, "Text7=Rossz válasz: 1", "focus=Text5"}));
        QCOMPARE(describe(run.showAnswer()), (QStringList{"Text9=alma, körte", "Text8=Megmutattam: 1", "focus=Text5"}));
        QCOMPARE(describe(run.submit("alma")),
                 (QStringList{"Text4=dog", "Text5=", "Text10=háziállat",
                              "Text9=A beírt szavak megfeleltek! Mind a 2 megoldás teljesítve!", "focus=Text5"}));
        QCOMPARE(describe(run.submit("kutya")),
                 (QStringList{"Text4=", "Text5=", kClosing, "focus=Vissza", "finished"}));
        QCOMPARE(run.currentPosition(), 3);

        // Once finished, nothing is checked, shown or counted any more.
        QVERIFY(run.submit("kutya").isEmpty() && run.showAnswer().isEmpty());
        QVERIFY(!run.pressMehet("x", "x").submits && !run.pressMehet("x", "x").focus);
        run.leave();
        QVERIFY(run.isFinished() && !run.wasLeft());
        QVERIFY(run.wrongAnswerCount() == 1 && run.shownAnswerCount() == 1);
    }

    void mixedRunSwapsBoxesPerQuestion()
    {
        // Rows 1, 2, 3 (0.0, 2.5 -> 2, 3.25 -> 3); English, Hungarian, English shown.
        FixedRandom random({0.0f, 0.5f, 0.75f, 0.9f, 0.1f, 0.9f});
        PracticeRun run(kPairs, PracticeDirection::Mixed, random);
        QCOMPARE(describe(run.opening()),
                 (QStringList{"Text4=dog", "Text5=", "Text10=háziállat", "Text7=Rossz válasz: 0",
                              "Text8=Megmutattam: 0", "readOnly=Text4", "focus=Text5"}));
        QCOMPARE(describe(run.submit("kutya")),
                 (QStringList{"Text4=", "Text5=alma, körte", "Text10= ", "Text9=A beírt szó megfelel!",
                              "readOnly=Text5", "focus=Text4"}));
        QCOMPARE(describe(run.showAnswer()), (QStringList{"Text9=apple", "Text8=Megmutattam: 1", "focus=Text4"}));
        // "Mehet" submits from the answer box; the focus stays there only after a submission.
        QCOMPARE(run.pressMehet("", "alma").submits, false);
        QCOMPARE(run.pressMehet("", "alma").focus, std::optional(PracticeFocus::HungarianBox));
        QCOMPARE(run.pressMehet("apple", "").focus, std::optional(PracticeFocus::EnglishBox));
        QVERIFY(run.pressMehet("apple", "").submits);
        QCOMPARE(describe(run.submit("apple")).first(), QStringLiteral("Text4=cat"));
        QVERIFY(run.questionDirectionAt(3) == 1 && run.questionDirectionAt(4) == -1);
    }

    void emptyListFinishesAtOnce()
    {
        FixedRandom random;
        PracticeRun run({}, PracticeDirection::Mixed, random);
        QCOMPARE(describe(run.opening()), (QStringList{"Text4=", "Text5=", kClosing, "Text7=Rossz válasz: 0",
                                                       "Text8=Megmutattam: 0", "focus=Vissza", "finished"}));
    }

    void leftRunCountsNothingMoreAndCountersPassSixteenBits()
    {
        FixedRandom random;
        PracticeRun run({kPairs[0]}, PracticeDirection::EnglishHungarian, random);
        PracticeView view, shown;
        for (int i = 0; i < 40000; ++i) {
            view = run.submit("macska");
            shown = run.showAnswer();
        }
        QCOMPARE(view.wrongCounter, std::optional<QString>("Rossz válasz: 40000"));
        QCOMPARE(shown.shownCounter, std::optional<QString>("Megmutattam: 40000"));
        run.leave();
        QVERIFY(run.wasLeft() && run.submit("kutya").isEmpty() && run.showAnswer().isEmpty());
        QVERIFY(run.wrongAnswerCount() == 40000 && run.shownAnswerCount() == 40000);
    }
};

QTEST_GUILESS_MAIN(TestPracticeRun)
#include "test_practice_run.moc"
