// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/answer_check.h"

#include <QTest>

namespace {
const QString kRight = QStringLiteral("A beírt szó megfelel!");
const QString kWrong = QStringLiteral("A beírt szó nem felel meg! Kérlek ismételd meg!");
QString stillOpen(int n)
{
    return QStringLiteral("A beírt szó megfelel! Még %1 megoldás van hátra!").arg(n);
}
QString allDone(int n)
{
    return QStringLiteral("A beírt szavak megfeleltek! Mind a %1 megoldás teljesítve!").arg(n);
}
} // namespace

class TestAnswerCheck : public QObject {
    Q_OBJECT

private slots:
    // Each row types its submissions in turn; the last one solves the pair, none before it.
    void submissions_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("opening");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("messages");
        QTest::addRow("exact") << "alma"
                               << "" << QStringList{"", "Alma", "álma", " alma", "alma"}
                               << QStringList{kWrong, kWrong, kWrong, kWrong, kRight};
        QTest::addRow("cell not trimmed") << "alma "
                                          << "" << QStringList{"alma", "alma "} << QStringList{kWrong, kRight};
        QTest::addRow("two, any order, each once") << "alma, körte"
                                                   << "2-féle megoldás van!" << QStringList{"körte", "körte", "alma"}
                                                   << QStringList{stillOpen(1), kWrong, allDone(2)};
        QTest::addRow("spaces trimmed, typed text not")
            << " alma ,  körte "
            << "2-féle megoldás van!" << QStringList{" alma", "alma", "körte"}
            << QStringList{kWrong, stillOpen(1), allDone(2)};
        QTest::addRow("tabs kept") << "\ta ,b"
                                   << "2-féle megoldás van!" << QStringList{"a", "\ta", "b"}
                                   << QStringList{kWrong, stillOpen(1), allDone(2)};
        QTest::addRow("six answers all count")
            << "a,b,c,d,e,f"
            << "6-féle megoldás van!" << QStringList{"f", "e", "d", "c", "b", "a"}
            << QStringList{stillOpen(5), stillOpen(4), stillOpen(3), stillOpen(2), stillOpen(1), allDone(6)};
        QTest::addRow("empty pieces ask nothing")
            << ",alma,, ,"
            << "1-féle megoldás van!" << QStringList{"", "alma"} << QStringList{kWrong, allDone(1)};
        QStringList thirty, thirtyMessages;
        for (int i = 30; i >= 1; --i) {
            thirty.prepend(QString::number(i));
            thirtyMessages.prepend(i == 30 ? allDone(30) : stillOpen(30 - i));
        }
        QTest::addRow("thirty answers all count")
            << thirty.join(',') << "30-féle megoldás van!" << thirty << thirtyMessages;
        QTest::addRow("spaces only, no comma") << "  "
                                               << "" << QStringList{" ", "  "} << QStringList{kWrong, kRight};
        QTest::addRow("only commas: checked whole")
            << ", ,"
            << "" << QStringList{"", ",", ", ,"} << QStringList{kWrong, kWrong, kRight};
    }

    void submissions()
    {
        QFETCH(QString, cell);
        QFETCH(QString, opening);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, messages);
        AnswerCheck check(cell);
        QCOMPARE(check.openingMessage(), opening);
        for (qsizetype i = 0; i < typed.size(); ++i) {
            QVERIFY(!check.isSolved());
            const AnswerCheck::Result result = check.check(typed[i]);
            QCOMPARE(result.message, messages[i]);
            QCOMPARE(result.verdict == AnswerCheck::Verdict::Solved, i + 1 == typed.size());
        }
    }
};

QTEST_GUILESS_MAIN(TestAnswerCheck)
#include "test_answer_check.moc"
