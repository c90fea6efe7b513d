// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/results_record.h"
#include "support/file_helpers.h"

#include <QTest>

namespace {
const QDateTime kAt(QDate(2026, 12, 7), QTime(9, 5, 3));
}

class TestResultsRecord : public QObject {
    Q_OBJECT

private slots:
    void dateAndTime_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addRow("Hungarian") << "hu_HU"
                                   << "2026. 12. 07., 9:05:03";
        QTest::addRow("zone after AM/PM") << "en_US"
                                          << "12/7/26, 9:05:03 AM";
        QTest::addRow("zone first") << "zh_CN"
                                    << "2026/12/7, 09:05:03";
        QTest::addRow("zone in parentheses") << "fa_IR"
                                             << "۲۰۲۶/۱۲/۷, ۹:۰۵:۰۳";
    }

    void dateAndTime()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QCOMPARE(recordDateTimeText(kAt, QLocale(locale)), text);
    }

    // Characters the code page cannot hold become "?", never the substitute byte 0x1A.
    void record_data()
    {
        QTest::addColumn<PracticeDirection>("direction");
        QTest::addColumn<bool>("solved");
        QTest::addColumn<QString>("listName");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("line");
        QTest::addRow("left early") << PracticeDirection::Mixed << false << "állatok"
                                    << "hu_HU"
                                    << QByteArray(
                                           "2026. 12. 07., 9:05:03,  N\xE9v: Anna,  Csal\xE1s volt! (vissza),  "
                                           "A sz\xF3jegyz\xE9k neve: \xE1llatok,  A felhozatal:      Vegyes    ,  "
                                           "Megmutattam: 40000,  Hib\xE1k Sz\xE1ma: 70000,  A szavak sz\xE1ma: 20\r\n");
        QTest::addRow("finished") << PracticeDirection::EnglishHungarian << true << "x"
                                  << "hu_HU"
                                  << QByteArray(":03,  N\xE9v: Anna,  A sz\xF3jegyz\xE9k neve: x,  "
                                                "A felhozatal:  Angol - Magyar,  M");
        QTest::addRow("Magyar-Angol") << PracticeDirection::HungarianEnglish << true << "x"
                                      << "hu_HU" << QByteArray(",  A felhozatal:  Magyar - Angol,  M");
        QTest::addRow("list name") << PracticeDirection::Mixed << true << "Ñandú 🍎"
                                   << "hu_HU" << QByteArray("neve: ?and\xFA ?,  A felhozatal:");
        QTest::addRow("line ends in the list name") << PracticeDirection::Mixed << true << "a\nb\rc"
                                                    << "hu_HU" << QByteArray("neve: a?b?c,  A felhozatal:");
        QTest::addRow("date") << PracticeDirection::Mixed << true << "x"
                              << "ar_EG"
                              << QByteArray("??"
                                            "/???"
                                            "/????, ?:??:?? ?,  N\xE9v");
    }

    void record()
    {
        QFETCH(PracticeDirection, direction);
        QFETCH(bool, solved);
        QFETCH(QString, listName);
        QFETCH(QString, locale);
        QFETCH(QByteArray, line);
        const RunFigures run{"Anna", listName, direction, 40000, 70000, 20, solved};
        const QByteArray bytes = resultsRecordBytes(run, kAt, QLocale(locale));
        QVERIFY2(bytes.contains(line) && !bytes.contains('\x1A') && bytes.endsWith(" 20\r\n"), bytes.constData());
    }

    void missingLogGetsItsHeaderBack()
    {
        QCOMPARE(resultsLogAppendix(true, "Béla", "R\r\n"), QByteArray("R\r\n"));
        QCOMPARE(resultsLogAppendix(false, "Béla", "R\r\n"), logHeader("B\xE9la") + "R\r\n");
    }
};

QTEST_GUILESS_MAIN(TestResultsRecord)
#include "test_results_record.moc"
