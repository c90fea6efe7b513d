// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/kvtml.h"
#include "lists/list_export.h"
#include "lists/list_import.h"
#include "lists/list_print.h"
#include "platform/code_page.h"
#include "support/file_helpers.h"
#include "support/word_list_bytes.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray utf16(const QString &text)
{
    return QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

// Pairs as "english|hungarian|note" lines, problems as "line: reason" lines.
QString shown(const ImportReading &reading)
{
    QStringList lines;
    for (const WordPair &pair : reading.pairs)
        lines << pair.english + "|" + pair.hungarian + "|" + pair.note;
    for (const ImportProblem &problem : reading.problems)
        lines << QString::number(problem.line) + ": " + problem.reason;
    for (qsizetype list = 0; reading.listSizes.size() > 1 && list < reading.listSizes.size(); ++list)
        lines << "list of " + QString::number(reading.listSizes[list]);
    return lines.join('\n');
}

QList<WordPair> numbered(int count)
{
    QList<WordPair> pairs;
    for (int index = 1; index <= count; ++index)
        pairs.append({QStringLiteral("word %1").arg(index), QStringLiteral("szó %1, ő").arg(index), QString()});
    return pairs;
}

} // namespace

class TestLists : public QObject {
    Q_OBJECT
private slots:
    void readers_data();
    void readers();
    void splitsIntoListsOfTwenty();
    void exportThenImportGivesTheListsBack_data();
    void exportThenImportGivesTheListsBack();
    void printedTestSheet();
    void commandLine_data();
    void commandLine();
};

void TestLists::readers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    const QString fruit = "pear|körte|gyümölcs\nbread|kenyér, cipó|";
    QTest::addRow("semicolon, Windows-1250, CR LF, header in another order") << QByteArray(
        "Megjegyz\xE9s;Magyar;Angol\r\ngy\xFCm\xF6lcs;k\xF6rte;pear\r\n;\"keny\xE9r, cip\xF3\";bread\r\n;;\r\n")
                                                                             << fruit;
    QTest::addRow("comma, UTF-8, LF, no header")
        << QByteArray("pear,körte,gyümölcs\nbread,\"kenyér, cipó\"\n") << fruit;
    QTest::addRow("tab, UTF-8 with BOM, English header")
        << QByteArray("\xEF\xBB\xBFHungarian\tEnglish\tNote\nkörte\tpear\tgyümölcs\nkenyér, cipó\tbread\t\n") << fruit;
    QTest::addRow("UTF-16 with BOM") << utf16("en\thu\tcomment\npear\tkörte\tgyümölcs\r\nbread\tkenyér, cipó\r\n")
                                     << fruit;
    QTest::addRow("quotes: separator, doubled quote, kept spaces, line count across a quoted break")
        << QByteArray("\"a;b\";\"say \"\"hi\"\"\"; x \n\" ok \";\"two\nlines\"\nlast;\n")
        << "a;b|say \"hi\"|x\n2: a magyar szó sortörést tartalmaz\n4: a magyar szó üres";
    QTest::addRow("KVTML 2.0, Hungarian first, comment as the note")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kvtml version=\"2.0\"><identifiers>"
                      "<identifier id=\"0\"><name>Magyar</name><locale>hu</locale></identifier>"
                      "<identifier id=\"1\"><name>x</name><locale>en_GB</locale></identifier></identifiers>\n"
                      "<entries><entry id=\"0\"><translation id=\"0\"><text>körte</text><comment>gyümölcs</comment>"
                      "</translation><translation id=\"1\"><text>pear</text></translation></entry>\n"
                      "<entry id=\"1\"><translation id=\"1\"><text>bread</text></translation><translation id=\"0\">"
                      "<text>kenyér, cipó</text></translation></entry></entries></kvtml>")
        << fruit;
    QByteArray nested = "<kvtml version=\"2.0\"><entries>";
    for (const char *id : {"0", "1", "2", "3"})
        nested += QByteArray("<entry id=\"") + id + "\"><translation id=\"0\"><text>w" + id
                  + "</text></translation><translation id=\"1\"><text>s" + id + "</text></translation></entry>";
    QTest::addRow("KVTML lessons: nested, an entry named twice, an entry in none")
        << nested
               + "</entries><lessons><container><entry id=\"2\"/><container><entry id=\"0\"/><entry id=\"2\"/>"
                 "</container><entry id=\"1\"/></container></lessons></kvtml>"
        << "w2|s2|\nw1|s1|\nw0|s0|\nw3|s3|\nlist of 2\nlist of 1\nlist of 1";
    QTest::addRow("flashcard export, tab and HTML")
        << QByteArray("#separator:tab\n#html:true\n#tags column:3\n<b>pear</b>\tk&ouml;rte\tfood\tgy&#252;m&ouml;lcs\n"
                      "bread<br>\t<div>keny&eacute;r,&nbsp;cip&oacute;</div>\n")
        << fruit;
    QTest::addRow("flashcard export, named columns")
        << QByteArray("#separator:semicolon\n#columns:Magyar;Angol\nkörte;pear\n") << "pear|körte|";
    QTest::addRow("refused: empty sides, code page, field separator, too long")
        << QByteArray("apple;\n;alma\nseñor;úr\na\x0E;b\n") + QByteArray(41, 'x') + ";y;" + QByteArray(51, 'z') + "\n"
        << "1: a magyar szó üres\n2: az angol szó üres\n3: az angol szó olyan karaktert tartalmaz, amelyet a "
           "szójegyzékfájl nem tud tárolni: „ñ”\n4: az angol szó a mezőelválasztó karaktert (0x0E) tartalmazza\n"
           "5: az angol szó 41 karakter hosszú, legfeljebb 40 lehet\n5: a megjegyzés 51 karakter hosszú, legfeljebb 50 "
           "lehet";
    QTest::addRow("refused: a separator inside an unquoted cell")
        << QByteArray("Angol;Magyar\ndog;kutya;\nwindow;ablak;a\n")
        << "dog|kutya|\n3: a sorban 3 mező van, de a táblázatnak csak 2 oszlopa; az elválasztójelet tartalmazó cellát "
           "idézőjelbe kell tenni";
    QTest::addRow("refused: quote left open")
        << QByteArray("a;b\n\"c;d\n") << "a|b|\n2: az idézőjeles mező nincs lezárva";
    QTest::addRow("refused: broken XML") << QByteArray("<kvtml version=\"2.0\">\n<entries>\n")
                                         << "3: a fájl nem ép XML (Premature end of document.)";
    QTest::addRow("refused: not KVTML 2") << QByteArray("<kvtml version=\"1.0\"/>") << "1: nem KVTML 2.0 fájl";
}

void TestLists::readers()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(shown(readWordSource(bytes)), expected);
}

void TestLists::splitsIntoListsOfTwenty()
{
    const QList<ListFile> files = listFilesOf(numbered(45), "lecke");
    QCOMPARE(files.size(), 3);
    QCOMPARE(files[2].fileName, QStringLiteral("lecke-03.szo"));
    QCOMPARE(pairsOfReading(readWordList(files[0].bytes)), numbered(20));
    QCOMPARE(pairsOfReading(readWordList(files[2].bytes)), numbered(45).mid(40));
    QCOMPARE(files[2].bytes.left(16), record("1", "word 41", platform::toCodePage("szó 41, ő")).left(16));
    QCOMPARE(listFilesOf(numbered(20), "lecke").constFirst().fileName, QStringLiteral("lecke.szo"));
}

void TestLists::exportThenImportGivesTheListsBack_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("first"); // pairs of the first list; the second has 4
    QTest::addColumn<QList<int>>("back");
    QTest::newRow("tsv") << "tsv" << 20 << QList<int>{20, 4};
    QTest::newRow("csv") << "csv" << 20 << QList<int>{20, 4};
    QTest::newRow("kvtml") << "kvtml" << 20 << QList<int>{20, 4};
    QTest::newRow("kvtml keeps short lists apart") << "kvtml" << 6 << QList<int>{6, 4};
    QTest::newRow("tsv joins them") << "tsv" << 6 << QList<int>{10};
}

void TestLists::exportThenImportGivesTheListsBack()
{
    QFETCH(QString, format);
    QFETCH(int, first);
    QFETCH(QList<int>, back);
    QList<WordPair> tricky = numbered(20);
    tricky[0] = {" leading space", "pontos;vessző", "\"idézet\""};
    tricky[1] = {"a, b", "őrző, űr", "<tag> & jel"};
    const QList<NamedList> lists = {{"első", tricky.first(first)}, {"második", numbered(4)}};
    const QByteArray exported = format == "tsv"   ? tsvOfLists(lists)
                                : format == "csv" ? csvOfLists(lists)
                                                  : kvtmlOfLists(lists, "x");
    const ImportReading reading = readWordSource(exported);
    QCOMPARE(reading.problems.size(), 0);
    const QList<ListFile> files = listFilesOf(reading.pairs, "lecke", reading.listSizes);
    QCOMPARE(files.size(), back.size());
    const QList<WordPair> all = lists[0].pairs + lists[1].pairs;
    for (qsizetype list = 0, start = 0; list < back.size(); start += back[list++])
        QCOMPARE(files[list].bytes, writeWordList(rowsOfPairs(all.mid(start, back[list])), back[list]).value());
}

void TestLists::printedTestSheet()
{
    QTemporaryDir directory;
    const QString pdf = directory.filePath("dolgozat.pdf");
    writeFile(pdf, pdfOfPages(pagesOf({{"Állatok és ételek", numbered(20)}}, PrintKind::TestHungarian)));
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    QVERIFY2(text.waitForFinished() && text.exitCode() == 0, "pdftotext (poppler-utils) is needed");
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    for (const char *expected : {"Szódolgozat: magyarról angolra", "Állatok és ételek", "szó 20, ő", "Megoldókulcs",
                                 "word 20", "1. oldal / 2", "2. oldal / 2", "Írd a vonalra"})
        QVERIFY2(words.contains(expected), expected);
    // The test page shows the Hungarian side only.
    QVERIFY(!words.section(QChar('\f'), 0, 0).contains("word 1"));
    QVERIFY(QProcess::execute("pdftoppm",
                              {"-f", "1", "-l", "1", "-r", "30", "-gray", "-png", pdf, directory.filePath("page")})
            == 0);
    const QImage page(directory.filePath("page-1.png"));
    int dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            dark += qGray(page.pixel(x, y)) < 128;
    QVERIFY2(dark > page.width() * page.height() / 200, qPrintable(QString::number(dark)));
}

void TestLists::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("message");
    const QByteArray good = "apple;alma\npear;körte\n";
    QTest::addRow("import") << QStringList{"import", "szavak.csv"} << good << 0
                            << QStringList{"szavak.csv", "szavak.szo"} << "";
    QTest::addRow("one bad row, nothing written")
        << QStringList{"import", "szavak.csv", "--name", "x"} << good + "egg;\n"
        << 1 << QStringList{"szavak.csv"} << "szavak.csv:3: a magyar szó üres";
    QTest::addRow("existing list kept") << QStringList{"import", "szavak.csv", "--name", "régi"} << good << 1
                                        << QStringList{"régi.szo", "szavak.csv"} << "Már létezik, nem írom felül";
    QTest::addRow("wrong option") << QStringList{"import", "szavak.csv", "--kind", "cards"} << good << 2
                                  << QStringList{"szavak.csv"} << "vokalindo-lists: A --kind kapcsoló";
    QTest::addRow("unknown option") << QStringList{"--no-such"} << good << 2 << QStringList{"szavak.csv"} << "no-such";
}

void TestLists::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QStringList, files);
    QFETCH(QString, message);
    QTemporaryDir directory;
    writeFile(directory.filePath("szavak.csv"), input);
    writeFile(directory.filePath("régi.szo"), "old");
    QProcess tool;
    tool.setWorkingDirectory(directory.path());
    tool.start(VOKALINDO_LISTS, arguments);
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitCode(), status);
    QVERIFY2(QString::fromUtf8(tool.readAllStandardError()).contains(message), qPrintable(message));
    files << "régi.szo";
    files.removeDuplicates();
    files.sort();
    QCOMPARE(QDir(directory.path()).entryList(QDir::Files), files);
    QCOMPARE(fileContents(directory.filePath("régi.szo")), QByteArray("old"));
}

QTEST_MAIN(TestLists)
#include "test_lists.moc"
