// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/code_page.h"
#include "report/class_report.h"
#include "report/class_table.h"
#include "report/report_pictures.h"
#include "results/results_log.h"
#include "results/results_record.h"
#include "support/file_helpers.h"
#include "support/memory_bound.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

QByteArray record(const QString &learner, const QString &list, bool solved, qint64 shown, qint64 wrong,
                  const QDate &date, const char *locale = "hu_HU")
{
    const RunFigures run{learner, list, PracticeDirection::EnglishHungarian, shown, wrong, 10, solved};
    return resultsRecordBytes(run, QDateTime(date, QTime(14, 30, 0)), QLocale(QString::fromLatin1(locale)));
}

// A small class as the program leaves it: Béla's dates in three locales, Kis Anna's names with
// commas and a hand-edited line, Zoé without a run, Ödön listed but without a directory.
void makeClass(const QString &start)
{
    writeFile(registryIn(start), platform::toCodePage("Zoé\r\nKis, Anna\r\nBéla\r\n\r\nÖdön\r\nÁbel\r\nBéla\r\n"));
    for (const QString name : {"Zoé", "Kis, Anna", "Béla", "Ábel"})
        QVERIFY(QDir(start).mkdir(name));
    const auto log = [&](const QString &name) { return start + "/" + name + "/" + resultsLogFileName(name); };
    writeFile(log("Zoé"), resultsLogHeader("Zoé"));
    writeFile(log("Béla"), resultsLogHeader("Béla") + record("Béla", "állatok", false, 2, 6, QDate(2026, 11, 30))
                               + record("Béla", "állatok", true, 1, 3, QDate(2026, 12, 1), "en_US")
                               + record("Béla", "színek", true, 0, 0, QDate(2026, 12, 2), "de_DE"));
    writeFile(log("Kis, Anna"), resultsLogHeader("Kis, Anna")
                                    + record("Kis, Anna", "lecke 1, <igék>", true, 4, 1, QDate(2026, 12, 3), "C")
                                    + platform::toCodePage("ezt kézzel írtam\r\n")
                                    + record("Kis, Anna", "lecke 1, <igék>", false, 1, 2, QDate(2026, 12, 4)));
    writeFile(log("Ábel"),
              resultsLogHeader("Ábel")
                  + record("Ábel", "x", true, 0, 1, QDate(2026, 12, 5)).replace("2026. 12. 05.", "tavaly"));
}

// Every file and directory under the start directory with its bytes' hash and its time.
QStringList snapshot(const QString &start)
{
    QStringList entries;
    QDirIterator it(start, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        entries << info.filePath() + " " + QString::number(info.lastModified().toMSecsSinceEpoch()) + " "
                       + QCryptographicHash::hash(fileContents(info.filePath()), QCryptographicHash::Sha1).toHex();
    }
    entries.sort();
    return entries;
}

} // namespace

class TestReportClass : public QObject {
    Q_OBJECT

private slots:
    void orderedByHungarianAlphabet()
    {
        // Accents only break ties (Ábel before Anna), ö and ü are letters after o and u, cs after c
        // (Cukor before Csaba), numbers by value, each name once.
        QCOMPARE(learnersByName({"Zoé", "Ödön", "Ábel", "Béla", "Anna", "Csaba", "Cukor", "Cecil", "anna", "Anna",
                                 "Olga", "Anna 10", "Anna 2", "Üveg", "Uhu", "Ozsi", "Oszi"}),
                 (QStringList{"Ábel", "anna", "Anna", "Anna 2", "Anna 10", "Béla", "Cecil", "Cukor", "Csaba", "Olga",
                              "Oszi", "Ozsi", "Ödön", "Uhu", "Üveg", "Zoé"}));
    }

    void classFigures()
    {
        QTemporaryDir start;
        makeClass(start.path());
        const std::optional<ClassReport> report =
            readClassReport(start.path(), QDateTime(QDate(2026, 12, 7), QTime(8, 0)));
        QVERIFY(report);
        QStringList names;
        for (const LearnerFigures &l : report->learners)
            names << l.name;
        QCOMPARE(names, (QStringList{"Ábel", "Béla", "Kis, Anna", "Ödön", "Zoé"}));

        const LearnerFigures &abel = report->learners.at(0);
        QCOMPARE(abel.runs, 1);
        QCOMPARE(abel.unknownDateRuns, 1);
        QCOMPARE(abel.lastRun->dateText, QString("tavaly"));

        const LearnerFigures &bela = report->learners.at(1);
        QCOMPARE(bela.logState, LogState::Read);
        QCOMPARE(bela.runs, 3);
        QCOMPARE(bela.wrongAnswers, 9);
        QCOMPARE(bela.shownAnswers, 3);
        QCOMPARE(bela.leftEarly, 1);
        QCOMPARE(bela.unknownDateRuns, 0);
        QCOMPARE(bela.lastRun->date.value_or(QDate()), QDate(2026, 12, 2));
        QCOMPARE(bela.lists.size(), 2);
        QCOMPARE(bela.lists.at("színek").runs, 1);
        QCOMPARE(bela.lists.at("állatok").best->date.value_or(QDate()), QDate(2026, 12, 1));

        const LearnerFigures &anna = report->learners.at(2);
        QCOMPARE(anna.runs, 2);
        QCOMPARE(anna.leftEarly, 1);
        QCOMPARE(anna.strayLineCount, 1);
        QCOMPARE(anna.strayLines.at(0).lineNumber, 3);
        QCOMPARE(anna.lists.size(), 1);
        QCOMPARE(anna.lists.at("lecke 1, <igék>").runs, 2);
        QCOMPARE(anna.lastRun->date.value_or(QDate()), QDate(2026, 12, 4));

        QCOMPARE(report->learners.at(3).logState, LogState::Missing);
        QCOMPARE(report->learners.at(4).logState, LogState::Read);
        QCOMPARE(report->learners.at(4).runs, 0);

        QTemporaryDir empty;
        QVERIFY(!readClassReport(empty.path(), QDateTime()));
    }

    // The class table as a spreadsheet opens it: a name stays one cell, and stays text.
    void classTableForSpreadsheets_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("cell");
        QTest::addRow("comma") << "Kis, Anna" << QByteArray("Kis, Anna");
        QTest::addRow("separator") << "a;b" << QByteArray("\"a;b\"");
        QTest::addRow("formula") << "=HYPERLINK(\"x\")" << QByteArray("\"'=HYPERLINK(\"\"x\"\")\"");
        QTest::addRow("minus, at") << "-1" << QByteArray("'-1");
        QTest::addRow("accented") << "Ödön" << QString("Ödön").toUtf8();
    }
    void classTableForSpreadsheets()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, cell);
        ClassReport report;
        LearnerFigures learner;
        learner.name = name;
        learner.runs = 2;
        learner.lastRun = RunSummary();
        learner.lastRun->dateText = QStringLiteral("tavaly");
        report.learners = {learner};
        const QList<QByteArray> lines = classTableCsv(classTableRows(report)).split('\n');
        QVERIFY(lines.first().startsWith("\xEF\xBB\xBFNév;"));
        QCOMPARE(lines.value(1), cell + ";2;tavaly;;0;0;0;0\r");
    }

    // The page as a browser reads it: one row a learner, in order, with the figures; a picture for
    // every learner with runs and one for the class; text escaped; nothing fetched, nothing run.
    void page()
    {
        QTemporaryDir start;
        makeClass(start.path());
        const ClassReport report = *readClassReport(start.path(), QDateTime(QDate(2026, 12, 7), QTime(8, 0)));
        const QString html = QString::fromUtf8(classReportHtml(report, learnerPictureSvg, classPictureSvg));

        const QString body = html.section("<tbody>", 1, 1).section("</tbody>", 0, 0);
        static const QRegularExpression row(QStringLiteral("<tr>(.*?)</tr>"));
        static const QRegularExpression cells(QStringLiteral("<td[^>]*>(.*?)</td>"));
        QList<QStringList> table;
        for (const QRegularExpressionMatch &m : row.globalMatch(body)) {
            QStringList texts;
            for (const QRegularExpressionMatch &c : cells.globalMatch(m.captured(1)))
                texts << QString(c.captured(1)).remove(QRegularExpression("<[^>]*>"));
            table << texts;
        }
        QCOMPARE(table.size(), 5);
        QCOMPARE(table.at(0), (QStringList{"Ábel", "1", "ismeretlen dátum (tavaly)", "x", "1", "0", "0", "0"}));
        QCOMPARE(table.at(1), (QStringList{"Béla", "3", "2026. 12. 02.", "állatok · színek", "9", "3", "1", "0"}));
        QCOMPARE(table.at(2),
                 (QStringList{"Kis, Anna", "2", "2026. 12. 04.", "lecke 1, &lt;igék&gt;", "3", "5", "1", "1"}));
        QCOMPARE(table.at(3), (QStringList{"Ödön", "0", "—", "", "0", "0", "0", "0"}));
        QCOMPARE(table.at(4), (QStringList{"Zoé", "0", "—", "", "0", "0", "0", "0"}));

        QCOMPARE(html.count("<section class=\"tanulo\""), 5);
        QCOMPARE(html.count("<svg"), 4); // Ábel, Béla, Kis Anna and the class
        QCOMPARE(html.count("</svg>"), 4);
        QVERIFY(html.contains("3. sor:</span> <code>ezt kézzel írtam</code>"));
        QVERIFY(html.contains("Nincs eredménynaplója."));
        QVERIFY(html.contains("Még nincs rögzített futása."));
        QVERIFY(html.contains("Ismeretlen dátumú futások: 1"));
        QVERIFY(!html.contains("<igék>"));
        QVERIFY(!html.contains("<script") && !html.contains("http://www.w3.org/1999/xhtml\" src")
                && !html.contains("<?xml"));
        // Every picture's gradients have names of their own.
        static const QRegularExpression ids(QStringLiteral("id=\"([^\"]+)\""));
        QStringList seen;
        for (const QRegularExpressionMatch &m : ids.globalMatch(html)) {
            QVERIFY2(!seen.contains(m.captured(1)), qPrintable(m.captured(1)));
            seen << m.captured(1);
        }
    }

    // Every picture stays readable whatever the class's size: the class picture's scale (its
    // numbers, each once, from 0 up past the most runs), its title and its legend are drawn whole,
    // never cut to "..." for want of room, and so are the learners' pictures.
    void picturesReadable_data()
    {
        QTest::addColumn<int>("learners");
        for (const int learners : {1, 2, 3, 30})
            QTest::addRow("%d", learners) << learners;
    }

    void picturesReadable()
    {
        QFETCH(int, learners);
        QList<LearnerFigures> figures;
        qint64 most = 0;
        for (int l = 0; l < learners; ++l) {
            const QString name = QString("Tanuló %1").arg(l + 1);
            QByteArray log = resultsLogHeader(name);
            for (int k = 0; k <= l; ++k)
                log += record(name, "állatok", k != 1, k, 2 * k, QDate(2026, 12, 1).addDays(k));
            figures << figuresFromLogBytes(name, log);
            most = std::max(most, figures.last().runs);
        }
        static const QRegularExpression textElement(QStringLiteral("<text[^>]*>([^<]*)</text>"));
        const auto texts = [](const QString &svg) {
            QStringList found;
            for (const QRegularExpressionMatch &m : textElement.globalMatch(svg))
                found << m.captured(1).trimmed();
            return found;
        };
        const QStringList chart = texts(classPictureSvg(figures));
        for (const QString whole : {"Futások", "Végigvitt futások", "Csalás volt! (vissza)", "Tanuló 1"})
            QVERIFY2(chart.contains(whole), qPrintable(whole + " in " + chart.join('|')));
        QList<int> scale;
        for (const QString &text : chart) {
            QVERIFY2(!text.contains("...") && !text.contains("…"), qPrintable(chart.join('|')));
            bool number = false;
            if (const int value = text.toInt(&number); number)
                scale << value;
        }
        QVERIFY2(scale.size() >= 2 && scale.first() == 0 && scale.last() >= most, qPrintable(chart.join('|')));
        for (qsizetype i = 1; i < scale.size(); ++i)
            QVERIFY2(scale.at(i) > scale.at(i - 1), qPrintable(chart.join('|')));
        for (const LearnerFigures &learner : std::as_const(figures)) {
            const QStringList picture = texts(learnerPictureSvg(learner));
            QVERIFY(picture.contains("Futások a napló sorrendjében"));
            for (const QString &text : picture)
                QVERIFY2(!text.contains("...") && !text.contains("…"), qPrintable(picture.join('|')));
        }
    }

    // Nothing a learner can put in the folder reaches the page as markup or as another file's bytes:
    // hostile names (in the tables, the class picture's labels, the pictures' titles), a file that
    // is not the learner's log, a FIFO, a link out of the folder. Béla's run keeps the class picture.
    void untrustedClass_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("log"); // its bytes, "fifo", or "link:" and the bytes of a file outside
        QTest::addColumn<qint64>("runs");
        const auto log = [](const QString &n) {
            return resultsLogHeader(n) + record(n, n, true, 1, 2, QDate(2026, 12, 1));
        };
        for (const QString n :
             {"<img src=x onerror=alert(1)>", "]]><!--", "<svg onload=alert(1)>", "Tom & \"Jerry\" 'x'"})
            QTest::addRow("%s", qPrintable(n)) << n << log(n) << qint64(1);
        QTest::addRow("picture") << "<img src=\"OUTSIDE/titkos.png\">" << QByteArray() << qint64(0);
        QTest::addRow("not a log") << "Anna"
                                   << "TITKOS\r\n" + log("Anna") << qint64(0);
        QTest::addRow("another's log") << "Anna" << log("Béla") + log("Anna").mid(resultsLogHeader("Anna").size())
                                       << qint64(0);
        QTest::addRow("link out") << "Anna"
                                  << "link:" + log("Anna") + "TITKOS\r\n"
                                  << qint64(0);
        QTest::addRow("fifo") << "Anna" << QByteArray("fifo") << qint64(0);
    }

    void untrustedClass()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, log);
        QFETCH(qint64, runs);
        QTemporaryDir start, outside;
        name.replace("OUTSIDE", outside.path());
        QImage(8, 8, QImage::Format_RGB32).save(outside.path() + "/titkos.png");
        writeFile(registryIn(start.path()), platform::toCodePage(name + "\r\nBéla\r\n"));
        QDir(start.path()).mkdir(name);
        QVERIFY(QDir(start.path()).mkdir("Béla"));
        writeFile(start.path() + "/Béla/Béla.log",
                  resultsLogHeader("Béla") + record("Béla", "a", true, 0, 1, QDate(2026, 12, 1)));
        const QString path = start.path() + "/" + name + "/" + resultsLogFileName(name);
        if (log == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (log.startsWith("link:") && (writeFile(outside.path() + "/titkos", log.mid(5)), true))
            QVERIFY(QFile::link(outside.path() + "/titkos", path));
        else if (!log.isEmpty())
            writeFile(path, log);
        const ClassReport report = *readClassReport(start.path(), QDateTime(QDate(2026, 12, 7), QTime(8, 0)));
        QCOMPARE(report.learners.at(report.learners.at(0).name == "Béla" ? 1 : 0).runs, runs);
        const QString html = QString::fromUtf8(classReportHtml(report, learnerPictureSvg, classPictureSvg));
        QCOMPARE(html.count("<svg"), runs > 0 ? 3 : 2);
        for (const QString bad :
             {"<img", "<svg onload", "]]>", "<!--", "CDATA", "<image", "\"Jerry", "Tom & ", "TITKOS"})
            QVERIFY2(!html.contains(bad), qPrintable(bad));
    }

    // The report goes nowhere near the learners' data: the registry, a learner's directory and
    // what is inside it are refused; beside them is fine.
    void outputPlace()
    {
        const QString start = "/school/class";
        const QStringList names{"Anna", "Béla", "../up"};
        QVERIFY(outputTouchesData(registryIn(start), start, names));
        QVERIFY(outputTouchesData(start + "/./init.usr", start, names));
        QVERIFY(outputTouchesData(start + "/Anna", start, names));
        QVERIFY(outputTouchesData(start + "/Anna/Anna.log", start, names));
        QVERIFY(outputTouchesData(start + "/Béla/x.html", start, names));
        QVERIFY(outputTouchesData(start, start, names));
        QVERIFY(!outputTouchesData(start + "/eredmenyek.html", start, names));
        QVERIFY(!outputTouchesData("/school/eredmenyek.html", start, names));
        QVERIFY(!outputTouchesData(start + "/Cili/x.html", start, names));
    }

    // However large the class within the reading bounds, the page stays small enough for a browser
    // and the program's memory stays bounded: long names are cut, a learner's list rows are capped,
    // and once the page is full its later pictures and sections are left out, which the page says.
    // Each learner has `lists` lists of one run each, names of `chars` characters.
    void largeClass_data()
    {
        QTest::addColumn<int>("learners");
        QTest::addColumn<int>("lists");
        QTest::addColumn<int>("chars");
        QTest::addColumn<bool>("cut");
        QTest::addColumn<long>("mostKiB"); // peak resident memory of the program
        QTest::newRow("small class") << 3 << 5 << 12 << false << 100L * 1024;
        QTest::newRow("long names, many lists") << 200 << 200 << 250 << true << 100L * 1024;
    }

    void largeClass()
    {
        QFETCH(int, learners);
        QFETCH(int, lists);
        QFETCH(int, chars);
        QFETCH(bool, cut);
        QFETCH(long, mostKiB);
        QTemporaryDir start, elsewhere;
        const auto padded = [&](const QString &text) { return text.leftJustified(chars, u'x'); };
        QByteArray registry;
        for (int l = 0; l < learners; ++l) {
            const QString name = padded(QString("Tanulo %1 ").arg(l));
            registry += platform::toCodePage(name + "\r\n");
            QVERIFY(QDir(start.path()).mkdir(name));
            QByteArray log = resultsLogHeader(name);
            for (int k = 0; k < lists; ++k)
                log += record(name, padded(QString("lecke %1 é").arg(k)), k % 3 != 0, k % 5, k % 7,
                              QDate(2026, 1, 1).addDays(k));
            writeFile(start.path() + "/" + name + "/" + resultsLogFileName(name), log);
        }
        writeFile(registryIn(start.path()), registry);

        // Started and waited for here, so that its resources are its own.
        const QByteArray program = VOKALINDO_REPORT, directory = QFile::encodeName(start.path()),
                         output = QFile::encodeName(elsewhere.path() + "/oldal.html");
        char *argv[] = {const_cast<char *>(program.data()),   const_cast<char *>("-d"),
                        const_cast<char *>(directory.data()), const_cast<char *>("-o"),
                        const_cast<char *>(output.data()),    nullptr};
        pid_t child = 0;
        QCOMPARE(posix_spawn(&child, argv[0], nullptr, nullptr, argv, environ), 0);
        int status = 0;
        rusage usage{};
        QCOMPARE(wait4(child, &status, 0, &usage), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY2(!kPeakMemoryMeasurable || usage.ru_maxrss < mostKiB,
                 qPrintable(QString("%1 KiB").arg(usage.ru_maxrss)));

        const QByteArray page = fileContents(elsewhere.path() + "/oldal.html");
        QVERIFY2(page.size() <= kMostPageBytes, qPrintable(QString::number(page.size())));
        QVERIFY(page.endsWith("</body>\n</html>\n"));
        QCOMPARE(page.count("<section"), page.count("</section>"));
        QCOMPARE(page.count("<table"), page.count("</table>"));
        const QString html = QString::fromUtf8(page);
        const QString list = padded(QString("lecke %1 é").arg(lists - 1)); // the most recent
        QVERIFY(html.contains(shownName(list)));
        QCOMPARE(html.contains(list.left(kShownNameChars)), list.size() <= kShownNameChars);
        QCOMPARE(html.contains("A jelentés legfeljebb 4 MiB"), cut);
        QCOMPARE(html.contains("…és további"), cut);
        QCOMPARE(html.count("<tr><td class=\"nev\">"), learners);
        QCOMPARE(html.count("<a href=\"#tanulo-"), html.count("<section class=\"tanulo\""));
    }

    // The program itself: it writes the page where it is told and changes nothing in the start
    // directory; a registry it cannot read or an output among the data is an error, nothing written.
    void program()
    {
        QTemporaryDir start, elsewhere;
        makeClass(start.path());
        const QStringList before = snapshot(start.path());
        QProcess report;
        report.setWorkingDirectory(elsewhere.path());
        report.start(VOKALINDO_REPORT, {"--directory", start.path()});
        QVERIFY(report.waitForFinished(60000));
        QCOMPARE(report.exitCode(), 0);
        QVERIFY(fileContents(elsewhere.path() + "/eredmenyek.html").contains("<table id=\"osztaly\">"));
        QCOMPARE(snapshot(start.path()), before);

        report.start(VOKALINDO_REPORT, {"-d", start.path(), "-o", start.path() + "/Béla/jelentes.html"});
        QVERIFY(report.waitForFinished(60000));
        QCOMPARE(report.exitCode(), 1);
        report.start(VOKALINDO_REPORT, {"-d", start.path(), "-o", registryIn(start.path())});
        QVERIFY(report.waitForFinished(60000));
        QCOMPARE(report.exitCode(), 1);
        QVERIFY(QFile::link(start.path() + "/Béla/Béla.log", elsewhere.path() + "/link.html"));
        report.start(VOKALINDO_REPORT, {"-d", start.path(), "-o", elsewhere.path() + "/link.html"});
        QVERIFY(report.waitForFinished(60000));
        QCOMPARE(report.exitCode(), 1);
        // Started in the class folder: the page goes home, for its owner's eyes only.
        QVERIFY(QDir(elsewhere.path()).mkdir("home"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", elsewhere.path() + "/home");
        report.setProcessEnvironment(environment);
        report.setWorkingDirectory(start.path());
        report.start(VOKALINDO_REPORT, {});
        QVERIFY(report.waitForFinished(60000));
        QVERIFY(report.readAllStandardOutput().contains("/home/eredmenyek.html"));
        QCOMPARE(int(QFile::permissions(elsewhere.path() + "/home/eredmenyek.html") & 0xf0ff), 0x6000); // rw-------
        QCOMPARE(snapshot(start.path()), before);

        report.start(VOKALINDO_REPORT, {"-d", elsewhere.path() + "/nincs", "-o", elsewhere.path() + "/b.html"});
        QVERIFY(report.waitForFinished(60000));
        QCOMPARE(report.exitCode(), 1);
        QVERIFY(!QFile::exists(elsewhere.path() + "/b.html"));

        report.start(VOKALINDO_REPORT, {"--version"});
        QVERIFY(report.waitForFinished(60000));
        QVERIFY(report.readAllStandardOutput().startsWith("vokalindo-report "));
        report.start(VOKALINDO_REPORT, {"--help"});
        QVERIFY(report.waitForFinished(60000));
        const QString help = QString::fromUtf8(report.readAllStandardOutput());
        QVERIFY2(help.contains("--directory") && help.contains("--output") && help.contains("mappa"), qPrintable(help));
    }
};

QTEST_MAIN(TestReportClass)
#include "test_report_class.moc"
