// SPDX-License-Identifier: GPL-3.0-or-later
#include "wordlist/list_name.h"
#include "wordlist/word_list_file.h"

#include "support/word_list_bytes.h"

#include <QTest>

Q_DECLARE_METATYPE(ReadOutcome)

namespace {

WordListRows rowsOf(std::initializer_list<WordListRow> pairs)
{
    WordListRows rows;
    int number = 0;
    for (const WordListRow &pair : pairs)
        rows[++number] = pair;
    return rows;
}

} // namespace

class TestWordListFile : public QObject {
    Q_OBJECT

private slots:
    void theSeventeenByteExampleBothWays()
    {
        const QByteArray bytes("\x31\x0E\x61\x70\x70\x6C\x65\x0E\x61\x6C\x6D\x61\x0E\x20\x0E\x0D\x0A");
        const WordListRows rows = rowsOf({{"1", "apple", "alma", " "}});
        QCOMPARE(writeWordList(rows, 1), bytes);

        const WordListReading reading = readWordList(bytes);
        QCOMPARE(reading.outcome, ReadOutcome::Complete);
        QCOMPARE(reading.pairCount, 1);
        QVERIFY(reading.rows == rows);
    }

    void aWrittenListReadsBackTheSame()
    {
        WordListRows rows;
        for (int row = 1; row <= kMaxPairs; ++row)
            rows[row] = {QString::number(row), QStringLiteral("word %1, other").arg(row),
                         QStringLiteral("áéíóöőúüű ÁÉÍÓÖŐÚÜŰ %1").arg(row),
                         row % 2 ? QStringLiteral(" ") : QString(50, 'n')};
        const std::optional<QByteArray> bytes = writeWordList(rows, kMaxPairs);
        QVERIFY(bytes);
        QVERIFY(bytes->contains("\xE1\xE9\xED\xF3\xF6\xF5\xFA\xFC\xFB \xC1\xC9\xCD\xD3\xD6\xD5\xDA\xDC\xDB"));

        const WordListReading reading = readWordList(*bytes);
        QCOMPARE(reading.outcome, ReadOutcome::Complete);
        QCOMPARE(reading.pairCount, kMaxPairs);
        QVERIFY(reading.rows == rows);
    }

    void aListWithAnEmptyCellIsNotWritten()
    {
        QVERIFY(!writeWordList(rowsOf({{"1", "apple", "alma", " "}, {"2", "pear", "", " "}}), 2));
        QCOMPARE(writeWordList(WordListRows{}, 0), QByteArray());
    }

    void reads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<ReadOutcome>("outcome");
        QTest::addColumn<int>("pairCount");
        // The rows that hold a record number afterwards, as "row:English" pairs.
        QTest::addColumn<QStringList>("placed");

        const QByteArray one = record("1", "apple", "alma");
        const QByteArray two = record("2", "pear", "k\xF6rte", "fruit");
        const QByteArray three = record("3", "plum", "szilva");
        QTest::addRow("two records") << one + two << ReadOutcome::Complete << 2 << QStringList{"1:apple", "2:pear"};
        QTest::addRow("last record without CR LF")
            << one + two.chopped(2) << ReadOutcome::Complete << 2 << QStringList{"1:apple", "2:pear"};
        QTest::addRow("placed by number")
            << two + one + three << ReadOutcome::Complete << 3 << QStringList{"1:apple", "2:pear", "3:plum"};
        QTest::addRow("empty file") << QByteArray() << ReadOutcome::Empty << 0 << QStringList{};
        QTest::addRow("extra CR LF after the last record")
            << one + two + "\r\n"
            << ReadOutcome::Empty << 2 << QStringList{"1:apple", "2:pear"};
        QTest::addRow("last separator missing")
            << one + two.chopped(3) << ReadOutcome::Empty << 1 << QStringList{"1:apple", "2:pear"};
        QTest::addRow("record broken off after its number")
            << one + "2\x0Epear" << ReadOutcome::Empty << 1 << QStringList{"1:apple", "2:"};
        QTest::addRow("longer than 32767 bytes")
            << one + record("2", QByteArray(32767, 'a'), "x") << ReadOutcome::Empty << 0 << QStringList{};
        QTest::addRow("number 21") << one + record("21", "x", "y") << ReadOutcome::BadRecordNumber << 1
                                   << QStringList{"1:apple"};
        QTest::addRow("number 0") << one + record("0", "x", "y") << ReadOutcome::BadRecordNumber << 1
                                  << QStringList{"1:apple"};
        QTest::addRow("number -1") << record("-1", "x", "y") << ReadOutcome::BadRecordNumber << 0 << QStringList{};
        QTest::addRow("number abc") << record("abc", "x", "y") << ReadOutcome::BadRecordNumber << 0 << QStringList{};
        QTest::addRow("numbers read by value: \" 1\", \"+02\", \"003\"")
            << record(" 1", "x", "y") + record("+02", "v", "w") + record("003", "t", "u") << ReadOutcome::Complete << 3
            << QStringList{"1:x", "2:v", "3:t"};
        QTest::addRow("number 1a") << record("1a", "x", "y") << ReadOutcome::BadRecordNumber << 0 << QStringList{};
        QTest::addRow("number 0021") << record("0021", "x", "y") << ReadOutcome::BadRecordNumber << 0 << QStringList{};
        QTest::addRow("number of 30 digits")
            << record(QByteArray(30, '9'), "x", "y") << ReadOutcome::BadRecordNumber << 0 << QStringList{};
        QTest::addRow("repeated 1, 2, 2")
            << one + two + record("2", "x", "y") << ReadOutcome::NumberingGap << 2 << QStringList{"1:apple", "2:x"};
        QTest::addRow("LF-only line ends") << QByteArray(one + two).replace("\r\n", "\n")
                                           << ReadOutcome::BadRecordNumber << 1 << QStringList{"1:apple"};
        QTest::addRow("CR-only line ends") << QByteArray(one + two).replace("\r\n", "\r")
                                           << ReadOutcome::BadRecordNumber << 1 << QStringList{"1:apple"};
        QTest::addRow("40,000 bytes") << one + QByteArray(40000 - one.size(), 'x') << ReadOutcome::Empty << 0
                                      << QStringList{};
        QTest::addRow("random bytes") << QByteArray("\xFF\x00\x0E\x0E\x81\r\n\x0E", 8) << ReadOutcome::BadRecordNumber
                                      << 0 << QStringList{};
        QTest::addRow("gap 1, 2, 5") << one + two + record("5", "x", "y") << ReadOutcome::NumberingGap << 5
                                     << QStringList{"1:apple", "2:pear", "5:x"};
        QTest::addRow("out of order 1, 3, 2")
            << one + three + two << ReadOutcome::NumberingGap << 2 << QStringList{"1:apple", "2:pear", "3:plum"};
        QTest::addRow("gap with as many records as pairs 1, 3, 3")
            << one + three + record("3", "x", "y") << ReadOutcome::NumberingGap << 3 << QStringList{"1:apple", "3:x"};
        QTest::addRow("tab in a cell") << one + record("2", "pe\tar", "y") << ReadOutcome::UnstorableText << 1
                                       << QStringList{"1:apple", "2:"};
        QTest::addRow("undefined byte 0x81")
            << record("1", "\x81", "y") << ReadOutcome::UnstorableText << 0 << QStringList{"1:"};
        QTest::addRow("empty English field")
            << one + record("2", "", "y") << ReadOutcome::EmptyField << 1 << QStringList{"1:apple", "2:"};
    }

    void reads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(ReadOutcome, outcome);
        QFETCH(int, pairCount);
        QFETCH(QStringList, placed);

        const WordListReading reading = readWordList(bytes);
        QCOMPARE(reading.outcome, outcome);
        QCOMPARE(reading.pairCount, pairCount);
        QStringList found;
        for (int row = 1; row <= kMaxPairs; ++row) {
            if (!reading.rows[row][0].isEmpty())
                found.append(reading.rows[row][0] + ':' + reading.rows[row][1]);
            else
                QVERIFY(reading.rows[row] == WordListRow{});
        }
        QCOMPARE(found, placed);
    }

    void listNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addRow("Qt's separator") << "/home/anna/Anna/list.szo"
                                        << "list";
        QTest::addRow("Windows separator") << "C:\\szavak\\Anna\\list.szo"
                                           << "list";
        QTest::addRow("Hungarian name") << "/tmp/gyümölcs.szo"
                                        << "gyümölcs";
        QTest::addRow("other extension dropped all the same") << "/tmp/list.txt"
                                                              << "list";
        QTest::addRow("name shorter than four characters") << "/tmp/dir/x"
                                                           << "";
        QTest::addRow("dotted directory") << "/tmp/a.b/list.szo"
                                          << "list";
    }

    void listNames()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(listNameOf(path), name);
    }
};

QTEST_MAIN(TestWordListFile)
#include "test_word_list_file.moc"
