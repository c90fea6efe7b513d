// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"
#include "report/learner_figures.h"
#include "report/record_date.h"
#include "report/run_record.h"
#include "results/results_log.h"
#include "results/results_record.h"
#include "support/file_helpers.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

namespace {

QByteArray record(const QString &learner, const QString &list, bool solved, qint64 shown, qint64 wrong,
                  const QDate &date = QDate(2026, 12, 7), const char *locale = "hu_HU")
{
    const RunFigures run{learner, list, PracticeDirection::Mixed, shown, wrong, 12, solved};
    return resultsRecordBytes(run, QDateTime(date, QTime(9, 5, 3)), QLocale(QString::fromLatin1(locale)));
}

QString line(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.chopped(2)); // the test's names are Latin-1 too
}

} // namespace

class TestReportRecord : public QObject {
    Q_OBJECT

private slots:
    void dateForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        const QDate dec7(2026, 12, 7);
        QTest::addRow("Hungarian") << "2026. 12. 07." << dec7;
        QTest::addRow("American") << "12/7/26" << dec7;
        QTest::addRow("German") << "07.12.26" << dec7;
        QTest::addRow("ISO") << "2026-12-07" << dec7;
        QTest::addRow("C locale") << "7 Dec 2026" << dec7;
        QTest::addRow("British, four-digit year") << "07/12/2026" << dec7;
        QTest::addRow("Chinese") << "2026/12/7" << dec7;
        QTest::addRow("Polish") << "7.12.2026" << dec7;
        QTest::addRow("Slovak, spaces") << "2026. 3. 5." << QDate(2026, 3, 5);
        QTest::addRow("slash, day cannot be a month") << "25/12/26" << QDate(2026, 12, 25);
        QTest::addRow("last century") << "12/7/99" << QDate(1999, 12, 7);
        QTest::addRow("month name in full") << "7 December 2026" << dec7;
        QTest::addRow("leap day") << "2024. 02. 29." << QDate(2024, 2, 29);
        QTest::addRow("no such day") << "2026. 02. 30." << QDate();
        QTest::addRow("no such month") << "13/45/26" << QDate();
        QTest::addRow("unknown month name") << "7 Dez 2026" << QDate();
        QTest::addRow("a word") << "tegnap" << QDate();
        QTest::addRow("empty") << "" << QDate();
        QTest::addRow("mixed separators") << "07.12/26" << QDate();
    }

    void dateForms()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        const std::optional<QDate> read = parseRecordDate(text);
        QCOMPARE(read.value_or(QDate()), date);
    }

    // What the program writes under each of these locales reads back as the day it was written.
    void recordsOfLocalesReadBack_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char *name : {"hu_HU", "en_US", "de_DE", "C", "sv_SE", "en_GB", "pl_PL", "zh_CN"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void recordsOfLocalesReadBack()
    {
        QFETCH(QString, locale);
        for (const QDate date : {QDate(2026, 12, 7), QDate(2026, 3, 5), QDate(2009, 1, 31)}) {
            const QString text = line(record("Anna", "allatok", true, 1, 2, date, qPrintable(locale)));
            const std::optional<RunRecord> run = parseRunRecord(text, u"Anna");
            QVERIFY(run);
            QCOMPARE(run->date.value_or(QDate()), date);
            QVERIFY2(run->timeText.contains(u":05:03"), qPrintable(run->timeText.toString()));
        }
    }

    void records_data()
    {
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("learner");
        QTest::addColumn<QString>("list");
        QTest::addColumn<bool>("leftEarly");
        QTest::addColumn<QList<qint64>>("figures"); // shown, wrong, pairs
        QTest::addRow("finished") << "Anna" << line(record("Anna", "allatok", true, 2, 3)) << "Anna"
                                  << "allatok" << false << QList<qint64>{2, 3, 12};
        QTest::addRow("cheating mark") << "Anna" << line(record("Anna", "allatok", false, 0, 0)) << "Anna"
                                       << "allatok" << true << QList<qint64>{0, 0, 12};
        QTest::addRow("commas in both names")
            << "Kis, Anna" << line(record("Kis, Anna", "lecke 1, igek", false, 40000, 70000)) << "Kis, Anna"
            << "lecke 1, igek" << true << QList<qint64>{40000, 70000, 12};
        QTest::addRow("name holding the cheating mark")
            << "X,  Csalás volt! (vissza)" << line(record("X,  Csalás volt! (vissza)", "l", true, 1, 1))
            << "X,  Csalás volt! (vissza)"
            << "l" << false << QList<qint64>{1, 1, 12};
        QTest::addRow("list name holding the labels")
            << "Anna"
            << line(record("Anna", "a,  A szójegyzék neve: b,  A felhozatal:  Angol - Magyar,  Megmutattam: 9", true, 4,
                           5))
            << "Anna"
            << "a,  A szójegyzék neve: b,  A felhozatal:  Angol - Magyar,  Megmutattam: 9" << false
            << QList<qint64>{4, 5, 12};
        QTest::addRow("empty list name") << "Anna" << line(record("Anna", "", true, 0, 1)) << "Anna"
                                         << "" << false << QList<qint64>{0, 1, 12};
        QTest::addRow("another learner's name, left early")
            << "Anna" << line(record("Béla, B", "l, m", false, 1, 2)) << "Béla, B"
            << "l, m" << true << QList<qint64>{1, 2, 12};
    }

    void records()
    {
        QFETCH(QString, owner);
        QFETCH(QString, text);
        QFETCH(QString, learner);
        QFETCH(QString, list);
        QFETCH(bool, leftEarly);
        QFETCH(QList<qint64>, figures);
        const std::optional<RunRecord> run = parseRunRecord(text, owner);
        QVERIFY2(run, qPrintable(text));
        QCOMPARE(run->learner.toString(), learner);
        QCOMPARE(run->listName.toString(), list);
        QCOMPARE(run->leftEarly, leftEarly);
        QCOMPARE((QList<qint64>{run->shownAnswers, run->wrongAnswers, run->pairCount}), figures);
        QCOMPARE(run->dateText.toString(), QString("2026. 12. 07."));
        QCOMPARE(run->timeText.toString(), QString("9:05:03"));
    }

    void notRecords_data()
    {
        QTest::addColumn<QString>("text");
        const QString good = line(record("Anna", "allatok", true, 2, 3));
        QTest::addRow("header") << "Anna Eredményei:";
        QTest::addRow("cut short") << good.left(good.lastIndexOf(' ') + 1);
        QTest::addRow("cut in the tail") << good.left(good.indexOf("Hibák"));
        QTest::addRow("no name label") << QString(good).replace(",  Név: ", ", Nev: ");
        QTest::addRow("no time") << QString(good).replace("2026. 12. 07., 9:05:03", "2026. 12. 07.");
        QTest::addRow("no list label") << QString(good).replace("A szójegyzék neve", "A lista");
        QTest::addRow("unknown direction") << QString(good).replace("     Vegyes    ", " Vegyes");
        QTest::addRow("a word for a number") << QString(good).replace("Megmutattam: 2", "Megmutattam: ketto");
        QTest::addRow("negative") << QString(good).replace("Hibák Száma: 3", "Hibák Száma: -3");
        QTest::addRow("past 64 bits") << QString(good).replace("Hibák Száma: 3", "Hibák Száma: 99999999999999999999");
        QTest::addRow("two records run together") << good + good;
        QTest::addRow("an unfinished record, then one") << good.left(50) + good;
        QTest::addRow("empty") << "";
    }

    void notRecords()
    {
        QFETCH(QString, text);
        QVERIFY(!parseRunRecord(text, u"Anna"));
    }

    // A log with its header, records, a blank line, a damaged line and the start of a record that
    // another copy of the program is still writing.
    void logFigures()
    {
        const QByteArray partial = record("Anna", "b", true, 5, 5).left(40);
        const QByteArray log = resultsLogHeader("Anna") + record("Anna", "a", false, 1, 4, QDate(2026, 1, 2))
                               + record("Anna", "a", true, 2, 1, QDate(2026, 1, 3)) + "\r\n" + "kezzel irt sor\r\n"
                               + record("Anna", "a", true, 0, 1, QDate(2026, 1, 4)).replace("2026. 01. 04.", "holnap")
                               + record("Anna", "b", false, 3, 0) + logHeader("Anna") + partial;
        const LearnerFigures f = figuresFromLogBytes("Anna", log);
        QCOMPARE(f.runs, 4);
        QCOMPARE(f.wrongAnswers, 6);
        QCOMPARE(f.shownAnswers, 6);
        QCOMPARE(f.leftEarly, 2);
        QCOMPARE(f.unknownDateRuns, 1);
        QCOMPARE(f.strayLineCount, 2); // the stray line and a header line out of its place
        QCOMPARE(f.strayLines.size(), 2);
        QCOMPARE(f.strayLines.at(0).lineNumber, 5);
        QCOMPARE(f.strayLines.at(0).text, QString("kezzel irt sor"));
        QCOMPARE(f.strayLines.at(1).lineNumber, 8);
        QVERIFY(f.partialLastLine);
        QVERIFY(f.lastRun);
        QCOMPARE(f.lastRun->lineNumber, 7);

        QCOMPARE(f.lists.size(), 2);
        const ListFigures a = f.lists.at("a");
        QCOMPARE(a.runs, 3);
        // The best is a finished run (never the one left early with more wrong answers taken as better).
        QVERIFY(a.best && a.last);
        QCOMPARE(a.best->lineNumber, 6);
        QCOMPARE(a.last->lineNumber, 6);
        QCOMPARE(a.last->dateText, QString("holnap"));
        const ListFigures b = f.lists.at("b");
        QVERIFY(!b.best); // only left early
        QCOMPARE(b.last->shownAnswers, 3);
    }

    void bestRun()
    {
        QByteArray log = resultsLogHeader("Anna");
        for (const auto &[wrong, shown] :
             std::initializer_list<std::pair<int, int>>{{5, 0}, {2, 3}, {2, 1}, {2, 1}, {0, 9}})
            log += record("Anna", "a", true, shown, wrong);
        log += record("Anna", "a", false, 0, 0); // left early: never the best
        const ListFigures a = figuresFromLogBytes("Anna", log).lists.at("a");
        QCOMPARE(a.best->lineNumber, 6); // fewest wrong answers
        QCOMPARE(a.last->lineNumber, 7);
        log += record("Anna", "a", true, 0, 0);
        QCOMPARE(figuresFromLogBytes("Anna", log).lists.at("a").best->lineNumber, 8);
        // Equal wrong answers: the fewer shown wins, then the earlier.
        QByteArray ties = resultsLogHeader("Anna") + record("Anna", "a", true, 3, 2) + record("Anna", "a", true, 1, 2)
                          + record("Anna", "a", true, 1, 2);
        QCOMPARE(figuresFromLogBytes("Anna", ties).lists.at("a").best->lineNumber, 3);
    }

    // However long the log, the picture gets at most kMostGroups points, each a whole number of runs,
    // and nothing is lost on the way.
    void runGroups_data()
    {
        QTest::addColumn<int>("runs");
        QTest::addColumn<qint64>("perGroup");
        QTest::addColumn<qsizetype>("groups");
        QTest::addRow("one") << 1 << qint64(1) << qsizetype(1);
        QTest::addRow("full") << 60 << qint64(1) << qsizetype(60);
        QTest::addRow("one more") << 61 << qint64(2) << qsizetype(31);
        QTest::addRow("130") << 130 << qint64(4) << qsizetype(33);
        QTest::addRow("10,000") << 10000 << qint64(256) << qsizetype(40);
    }

    void runGroups()
    {
        QFETCH(int, runs);
        QFETCH(qint64, perGroup);
        QFETCH(qsizetype, groups);
        LearnerFiguresBuilder builder("Anna");
        builder.addLine(resultsLogHeader("Anna").chopped(2));
        for (int i = 0; i < runs; ++i)
            builder.addLine(record("Anna", "a", i % 3 != 0, 1, i % 7, QDate(2026, 1, 1).addDays(i)).chopped(2));
        const LearnerFigures f = builder.take();
        QCOMPARE(f.runsPerGroup, perGroup);
        QCOMPARE(f.groups.size(), groups);
        qint64 total = 0, wrong = 0, early = 0;
        for (qsizetype i = 0; i < f.groups.size(); ++i) {
            const RunGroup &g = f.groups.at(i);
            QVERIFY(i + 1 == f.groups.size() ? g.runs <= perGroup : g.runs == perGroup);
            QCOMPARE(g.firstDate.value_or(QDate()), QDate(2026, 1, 1).addDays(i * perGroup));
            total += g.runs;
            wrong += g.wrongAnswers;
            early += g.leftEarly;
        }
        QCOMPARE(total, runs);
        QCOMPARE(wrong, f.wrongAnswers);
        QCOMPARE(early, f.leftEarly);
    }

    // Read from disk in parts: lines cut by a part's end are read whole; the unfinished last line
    // is left out; names that lead outside or a missing log give no runs.
    void readFromDisk()
    {
        QTemporaryDir start;
        QVERIFY(QDir(start.path()).mkdir("Anna"));
        QByteArray log = resultsLogHeader("Anna");
        for (int i = 0; i < 12000; ++i) // about 2 MB: many parts
            log += record("Anna", QString("lecke %1").arg(i % 7), i % 2 == 0, i % 3, i % 5);
        log += record("Anna", "x", true, 1, 1).left(30);
        writeFile(start.path() + "/Anna/Anna.log", log);
        const LearnerFigures f = readLearnerFigures(start.path(), "Anna");
        QCOMPARE(f.logState, LogState::Read);
        QCOMPARE(f.runs, 12000);
        QCOMPARE(f.strayLineCount, 0);
        QCOMPARE(f.lists.size(), 7);
        QVERIFY(f.partialLastLine);

        QCOMPARE(readLearnerFigures(start.path(), "Béla").logState, LogState::Missing);
        QCOMPARE(readLearnerFigures(start.path(), "../Anna").logState, LogState::NameLeadsOutside);
        QVERIFY(QDir(start.path()).mkpath("Cili/Cili.log"));
        QCOMPARE(readLearnerFigures(start.path(), "Cili").logState, LogState::Unreadable);
    }

    // Read while the program appends records through its own append: every read sees whole
    // records only, never a stray line, and never fewer runs than the read before.
    void readWhileAppended()
    {
        QTemporaryDir start;
        QVERIFY(QDir(start.path()).mkdir("Anna"));
        const QString path = start.path() + "/Anna/Anna.log";
        QByteArray log = resultsLogHeader("Anna");
        for (int i = 0; i < 3000; ++i)
            log += record("Anna", "a", true, 1, 2);
        writeFile(path, log);
        const QByteArray next = record("Anna, hosszú névvel", QString(300, QLatin1Char('x')), false, 3, 4);
        std::atomic<bool> done = false;
        std::thread writer([&] {
            for (int i = 0; i < 2000 && !done; ++i)
                platform::appendToExistingFile(path, next);
            done = true;
        });
        qint64 runs = 0;
        int reads = 0;
        bool wholeRecordsOnly = true;
        bool neverFewer = true;
        while (!done || reads < 2) {
            const LearnerFigures f = readLearnerFigures(start.path(), "Anna");
            wholeRecordsOnly = wholeRecordsOnly && f.strayLineCount == 0;
            neverFewer = neverFewer && f.runs >= runs;
            runs = f.runs;
            ++reads;
        }
        writer.join();
        QVERIFY(wholeRecordsOnly);
        QVERIFY(neverFewer);
        QCOMPARE(readLearnerFigures(start.path(), "Anna").runs, 5000);
    }

    // A line of gigabytes (a file put there by mistake) is one stray line, never held whole.
    void overlongLine()
    {
        QTemporaryDir start;
        QVERIFY(QDir(start.path()).mkdir("Anna"));
        const QByteArray log =
            resultsLogHeader("Anna") + QByteArray(3 << 20, 'x') + "\r\n" + record("Anna", "a", true, 1, 2);
        writeFile(start.path() + "/Anna/Anna.log", log);
        const LearnerFigures f = readLearnerFigures(start.path(), "Anna");
        QCOMPARE(f.runs, 1);
        QCOMPARE(f.strayLineCount, 1);
        QCOMPARE(f.strayLines.at(0).lineNumber, 2);
        QVERIFY(!f.partialLastLine);
    }
};

QTEST_GUILESS_MAIN(TestReportRecord)
#include "test_report_record.moc"
