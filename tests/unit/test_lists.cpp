// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/kvtml.h"
#include "lists/list_export.h"
#include "lists/list_import.h"
#include "lists/list_print.h"
#include "platform/code_page.h"
#include "support/file_helpers.h"
#include "support/measured_run.h"
#include "support/memory_bound.h"
#include "support/root_account.h"
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

// Pairs as "english|hungarian|note" lines, problems as "line: reason" lines, a first row taken for
// column names as "header LINE: cell|cell".
QString shown(const ImportReading &reading)
{
    QStringList lines;
    if (reading.guessedHeaderLine > 0)
        lines << "header " + QString::number(reading.guessedHeaderLine) + ": " + reading.guessedHeader.join('|');
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
    void hostileInputs_data();
    void hostileInputs();
};

void TestLists::readers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    const QString fruit = "pear|körte|gyümölcs\nbread|kenyér, cipó|";
    QTest::addRow("semicolon, Windows-1250, CR LF, header in another order")
        << QByteArray(
               "Megjegyz\xE9s;Magyar;Angol\r\ngy\xFCm\xF6lcs;k\xF6rte;pear\r\n;\"keny\xE9r, cip\xF3\";bread\r\n;;\r\n")
        << "header 1: Megjegyzés|Magyar|Angol\n" + fruit;
    QTest::addRow("comma, UTF-8, LF, no header")
        << QByteArray("pear,körte,gyümölcs\nbread,\"kenyér, cipó\"\n") << fruit;
    QTest::addRow("tab, UTF-8 with BOM, English header")
        << QByteArray("\xEF\xBB\xBFHungarian\tEnglish\tNote\nkörte\tpear\tgyümölcs\nkenyér, cipó\tbread\t\n")
        << "header 1: Hungarian|English|Note\n" + fruit;
    QTest::addRow("UTF-16 with BOM") << utf16("en\thu\tcomment\npear\tkörte\tgyümölcs\r\nbread\tkenyér, cipó\r\n")
                                     << "header 1: en|hu|comment\n" + fruit;
    // A header of words, as people title a table; a pair of translations, or a word that names no
    // column, keeps the row a pair.
    QTest::addRow("header titled in Hungarian words")
        << QByteArray("angol szó;magyar jelentés;megjegyzés\npear;körte;gyümölcs\n\"bread\";kenyér, cipó\n")
        << "header 1: angol szó|magyar jelentés|megjegyzés\n" + fruit;
    QTest::addRow("header titled in English words, another order")
        << QByteArray("Meaning,The word,Notes\nkörte,pear,gyümölcs\n\"kenyér, cipó\",bread\n")
        << "header 1: Meaning|The word|Notes\n" + fruit;
    QTest::addRow("pairs of translations are pairs")
        << QByteArray("word;szó\nEnglish;angol;\n") << "word|szó|\nEnglish|angol|";
    QTest::addRow("a cell that names no column keeps the row a pair")
        << QByteArray("angol szó;magyar szó;szófaj\n") << "angol szó|magyar szó|szófaj";
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
        << "header 1: Angol|Magyar\ndog|kutya|\n3: a sorban 3 mező van, de a táblázatnak csak 2 oszlopa; az "
           "elválasztójelet tartalmazó cellát "
           "idézőjelbe kell tenni";
    QTest::addRow("refused: quote left open")
        << QByteArray("a;b\n\"c;d\n") << "a|b|\n2: az idézőjeles mező nincs lezárva";
    QTest::addRow("refused: broken XML") << QByteArray("<kvtml version=\"2.0\">\n<entries>\n")
                                         << "3: a fájl nem ép XML (Premature end of document.)";
    QTest::addRow("refused: not KVTML 2") << QByteArray("<kvtml version=\"1.0\"/>") << "1: nem KVTML 2.0 fájl";
    QTest::addRow("refused: entities declared")
        << QByteArray("<!DOCTYPE kvtml [<!ENTITY e \"x\">]>\n<kvtml version=\"2.0\"/>")
        << "1: a fájl DTD-je entitásokat deklarál (<!ENTITY); a szótanulók KVTML-fájljai nem használnak ilyet";
    QTest::addRow("refused: long cells keep their whole length, outer spaces not counted")
        << "  " + QByteArray(100000, 'x') + "   ;\"" + QByteArray(99, 'y') + "\"  ;" + QByteArray(70000, ' ') + "z"
               + QByteArray(70000, ' ') + "\n"
        << "1: az angol szó 100000 karakter hosszú, legfeljebb 40 lehet\n"
           "1: a magyar szó 99 karakter hosszú, legfeljebb 40 lehet";
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
    if (kOnWindows)
        QSKIP("the sheet is read back with poppler's tools, which are Linux programs");
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
    QTest::addColumn<QString>("message"); // each line of it, on the standard error or output
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
    QTest::addRow("unknown option") << QStringList{"--no-such"} << good << 2 << QStringList{"szavak.csv"}
                                    << "vokalindo-lists: \nno-such\nA kapcsolók leírása: vokalindo-lists --help";
    QTest::addRow("no command") << QStringList() << good << 2 << QStringList{"szavak.csv"}
                                << "Hiányzik a parancs\nA kapcsolók leírása: vokalindo-lists --help";
    QTest::addRow("header guessed, and said")
        << QStringList{"import", "szavak.csv"} << "angol szó;magyar jelentés\n" + good << 0
        << QStringList{"szavak.csv", "szavak.szo"}
        << "szavak.csv:1: az első sort fejlécnek vettem, nem szópárnak: „angol szó”, „magyar jelentés”; ha mégis "
           "szópár, a --no-header kapcsolóval beolvasható.\n2 szópár";
    QTest::addRow("--no-header") << QStringList{"import", "szavak.csv", "--no-header"} << "word;meaning\n" + good << 0
                                 << QStringList{"szavak.csv", "szavak.szo"} << "3 szópár";
    QTest::addRow("--header") << QStringList{"import", "szavak.csv", "--header"} << good << 0
                              << QStringList{"szavak.csv", "szavak.szo"} << "1 szópár";
    QTest::addRow("--header and --no-header")
        << QStringList{"import", "szavak.csv", "--header", "--no-header"} << good << 2 << QStringList{"szavak.csv"}
        << "csak az egyik adható meg\nA kapcsolók leírása: vokalindo-lists --help";
    // Why a file could not be read or written, after its name.
    QTest::addRow("missing input") << QStringList{"import", "nincs.csv"} << good << 1 << QStringList{"szavak.csv"}
                                   << "vokalindo-lists: Nem olvasható: nincs.csv (nincs ilyen fájl)";
    // Taking the reading right away is a change of the file's access list on Windows, not of its
    // permissions: there only Linux's row is run.
    if (!kOnWindows)
        QTest::addRow("input without permission")
            << QStringList{"export", "zárt.szo", "--format", "tsv"} << good << 1 << QStringList{"szavak.csv"}
            << "Nem olvasható: zárt.szo (nincs hozzá jogosultság)";
    QTest::addRow("a folder as input") << QStringList{"import", "mappa", "--name", "x"} << good << 1
                                       << QStringList{"szavak.csv"} << "Nem olvasható: mappa (ez egy mappa)";
    QTest::addRow("output in a missing folder")
        << QStringList{"export", "jó.szo", "--format", "csv", "--output", "nincs/ki.csv"} << good << 1
        << QStringList{"szavak.csv"}
        << "Nem írható ki: " + QDir::toNativeSeparators("nincs/ki.csv") + " (nincs ilyen mappa)";
    QTest::addRow("a folder as output") << QStringList{"print", "jó.szo", "--output", "mappa"} << good << 1
                                        << QStringList{"szavak.csv"} << "Nem írható ki: mappa (ez egy mappa)";
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
    writeFile(directory.filePath("jó.szo"), record("1", "apple", "alma"));
    writeFile(directory.filePath("zárt.szo"), record("1", "apple", "alma"));
    QVERIFY(kOnWindows || QFile::setPermissions(directory.filePath("zárt.szo"), {}));
    QVERIFY(QDir(directory.path()).mkdir("mappa"));
    QProcess tool;
    tool.setWorkingDirectory(directory.path());
    tool.setProcessChannelMode(QProcess::MergedChannels);
    // Root reads any file: here it runs without that power, as a teacher's account would.
    if (runsAsRoot())
        tool.start("setpriv",
                   QStringList{"--bounding-set=-dac_override,-dac_read_search", "--", VOKALINDO_LISTS} + arguments);
    else
        tool.start(VOKALINDO_LISTS, arguments);
    QVERIFY(tool.waitForFinished());
    const QString said = QString::fromUtf8(tool.readAll());
    QVERIFY2(tool.exitCode() == status, qPrintable(said));
    for (const QString &line : message.split('\n'))
        QVERIFY2(said.contains(line), qPrintable(said));
    files << "régi.szo"
          << "jó.szo"
          << "zárt.szo";
    files.removeDuplicates();
    files.sort();
    QCOMPARE(QDir(directory.path()).entryList(QDir::Files), files);
    QCOMPARE(fileContents(directory.filePath("régi.szo")), QByteArray("old"));
}

// Files that once took gigabytes and wrote hundreds of thousands of lists: each row's input is
// HEAD + UNIT × COUNT + TAIL, made here, read by the built tool under a memory bound.
void TestLists::hostileInputs_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("unit");
    QTest::addColumn<qsizetype>("count");
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("maxLines"); // of the error output
    QTest::addColumn<int>("lists");
    constexpr qsizetype mebibytes = 1024 * 1024;
    const QByteArray entity = "<!DOCTYPE kvtml [<!ENTITY e \"" + QByteArray(4000, 'x')
                              + "\">]>\n<kvtml version=\"2.0\"><entries><entry id=\"0\"><translation id=\"0\"><text>";
    const QByteArray entityEnd = "</text></translation></entry></entries></kvtml>\n";
    const QString refused = "a fájl DTD-je entitásokat deklarál";
    QTest::addRow("entity used 200,000 times (600 KB)")
        << entity << QByteArray("&e;") << qsizetype(200000) << entityEnd << QStringList() << 1 << refused << 2 << 0;
    QTest::addRow("entity used 1,000,000 times (3 MB)")
        << entity << QByteArray("&e;") << qsizetype(1000000) << entityEnd << QStringList() << 1 << refused << 2 << 0;
    QTest::addRow("64 MiB of good rows") << QByteArray() << QByteArray("a;b\n") << 16 * mebibytes << QByteArray()
                                         << QStringList() << 1 << "16777216 szópárból több mint 500 szójegyzék lenne"
                                         << 1 << 0;
    QTest::addRow("64 MiB of bad rows") << QByteArray() << QByteArray("a;\n") << 64 * mebibytes / 3 << QByteArray()
                                        << QStringList() << 1 << "Nem készült szójegyzék: 22369621 hiba." << 202 << 0;
    QTest::addRow("a cell of 64 MiB") << QByteArray() << QByteArray("x") << 64 * mebibytes - 4 << QByteArray(";b\n")
                                      << QStringList() << 1 << "az angol szó 67108860 karakter hosszú" << 2 << 0;
    const QByteArray entry = "<entry id=\"0\"><translation id=\"0\"><text>w</text></translation>"
                             "<translation id=\"1\"><text>s</text></translation></entry>\n";
    QTest::addRow("64 MiB of KVTML entries")
        << QByteArray("<kvtml version=\"2.0\"><entries>") << entry << 64 * mebibytes / entry.size() - 1
        << QByteArray("</entries></kvtml>") << QStringList() << 1 << "több mint 500 szójegyzék" << 1 << 0;
    QTest::addRow("600 lists refused") << QByteArray() << QByteArray("a;b\n") << qsizetype(12000) << QByteArray()
                                       << QStringList() << 1 << "--max-lists" << 1 << 0;
    QTest::addRow("600 lists asked for") << QByteArray() << QByteArray("a;b\n") << qsizetype(12000) << QByteArray()
                                         << QStringList{"--max-lists", "600"} << 0 << "" << 0 << 600;
}

void TestLists::hostileInputs()
{
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, unit);
    QFETCH(qsizetype, count);
    QFETCH(QByteArray, tail);
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(int, maxLines);
    QFETCH(int, lists);
    QTemporaryDir directory;
    const QString input = directory.filePath("be.txt");
    QFile file(input); // written a piece at a time, so that this process stays small
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(head);
    const QByteArray piece = unit.repeated(std::min<qsizetype>(count, 65536));
    for (qsizetype written = 0; written < count; written += 65536)
        file.write(written + 65536 <= count ? piece : unit.repeated(count - written));
    file.write(tail);
    file.close();
    QVERIFY(QDir(directory.path()).mkdir("ki"));
    const MeasuredRun run =
        runMeasured(VOKALINDO_LISTS, QStringList{"import", input, "--output", directory.filePath("ki")} + options,
                    directory.filePath("hibak.txt"));
    QCOMPARE(run.status, status);
    const QString errors = QString::fromUtf8(run.errors);
    QVERIFY2(errors.contains(message), qPrintable(errors.right(400)));
    QVERIFY2(run.errors.count('\n') <= maxLines, qPrintable(QString::number(run.errors.count('\n'))));
    QCOMPARE(QDir(directory.filePath("ki")).entryList(QDir::Files).size(), lists);
    QVERIFY2(!kPeakMemoryMeasurable || (run.peakKilobytes > 0 && run.peakKilobytes < 256 * 1024),
             qPrintable(QString("%1 KiB").arg(run.peakKilobytes)));
    qInfo("peak %ld KiB", run.peakKilobytes);
}

QTEST_MAIN(TestLists)
#include "test_lists.moc"
