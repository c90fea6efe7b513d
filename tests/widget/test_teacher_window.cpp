// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's window on a class folder: its lists and learners, imports through the preview, a
// printed test sheet read back from its PDF, the results table sorted and saved, and the rules of
// the class folder for what it writes.
#include "support/file_helpers.h"
#include "support/root_account.h"

#include "lists/kvtml.h"
#include "lists/list_export.h"
#include "lists/list_import.h"
#include "report/class_table.h"
#include "results/results_log.h"
#include "results/results_record.h"
#include "teacher/import_dialog.h"
#include "teacher/lists_tab.h"
#include "teacher/results_tab.h"
#include "teacher/teacher_dialogs.h"
#include "teacher/teacher_window.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QListWidget>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Answers the window's dialogs from a script, and records its messages.
struct ScriptedTeacherDialogs final : TeacherDialogs {
    QStringList messages;
    std::optional<QString> folder;
    std::optional<QString> saveAs;
    QString printedPdf; // printing goes into this PDF
    QString openedPage;

    void message(QWidget *, const QString &text) override { messages.append(text); }
    std::optional<QString> chooseFolder(QWidget *, const QString &, const QString &) override { return folder; }
    QStringList chooseFilesToImport(QWidget *, const QString &) override { return {}; }
    std::optional<QString> chooseFileToSave(QWidget *, const QString &, const QString &, const QStringList &) override
    {
        return saveAs;
    }
    void printWithPreview(QWidget *, const QString &name, const std::function<void(QPrinter &)> &paint) override
    {
        QPrinter printer(QPrinter::HighResolution);
        prepareForPages(printer, name);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printedPdf);
        paint(printer);
    }
    bool openInBrowser(const QString &path) override
    {
        openedPage = path;
        return true;
    }
};

// A class of three learners with logs, a shared lists folder holding one list, and one list in a
// learner's own folder.
struct ClassOnScreen {
    QTemporaryDir work;
    QString directory = work.filePath(QStringLiteral("5a"));
    ScriptedTeacherDialogs dialogs;
    TeacherWindow window{dialogs};

    ClassOnScreen()
    {
        QDir().mkpath(directory + QStringLiteral("/listak"));
        writeFile(directory + "/init.usr", "B\xE9la\r\nAnna\r\nCsaba\r\n");
        const auto log = [&](const QString &name, const QList<std::pair<int, int>> &runs) {
            QDir(directory).mkdir(name);
            QByteArray bytes = resultsLogHeader(name);
            for (const auto &[wrong, shown] : runs)
                bytes += resultsRecordBytes(
                    {name, "gyumolcs", PracticeDirection::EnglishHungarian, shown, wrong, 20, true},
                    QDateTime(QDate(2026, 12, 1), QTime(12, 0)), QLocale(QLocale::Hungarian, QLocale::Hungary));
            writeFile(directory + "/" + name + "/" + name + ".log", bytes);
        };
        log(QStringLiteral("Anna"), {{3, 1}, {0, 0}});
        log(QStringLiteral("Csaba"), {{12, 2}});
        QDir(directory).mkdir(QStringLiteral("B\u00e9la"));
        writeFile(directory + "/listak/gyumolcs.szo",
                  listBytes({{"apple", "alma", ""}, {"pear", QStringLiteral("körte"), QStringLiteral("gyümölcs")}}));
        writeFile(directory + "/Anna/sajat.szo", listBytes({{"dog", "kutya", ""}}));
        window.openFolder(directory);
        QTRY_VERIFY_WITH_TIMEOUT(!window.resultsTab()->reading(), 10000);
    }

    static QByteArray listBytes(const QList<WordPair> &pairs) { return listFilesOf(pairs, "x").first().bytes; }

    template <typename T>
    T *find(const char *name) const
    {
        T *found = window.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QStringList column(const char *table, int column) const
    {
        QStringList cells;
        const auto *widget = find<QTableWidget>(table);
        for (int row = 0; row < widget->rowCount(); ++row)
            cells.append(widget->item(row, column) ? widget->item(row, column)->text() : QString());
        return cells;
    }
    void selectList(const QString &name)
    {
        auto *table = find<QTableWidget>("szojegyzekTabla");
        table->clearSelection();
        table->selectRow(column("szojegyzekTabla", 0).indexOf(name));
    }
    ImportDialog *importing(const QStringList &files)
    {
        window.listsTab()->importFiles(files);
        return find<ImportDialog>("importalas");
    }
    // The files dragged from a file manager and dropped on the window.
    ImportDialog *dropping(const QStringList &files)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString &file : files)
            urls.append(QUrl::fromLocalFile(file));
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        return enter.isAccepted() ? find<ImportDialog>("importalas") : nullptr;
    }
};

QString pdfText(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    return process.waitForFinished(20000) ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

} // namespace

class TestTeacherWindow : public QObject {
    Q_OBJECT

private slots:
    void showsTheLearnersAndEveryListOfTheClass()
    {
        ClassOnScreen screen;
        QStringList learners;
        for (int row = 0; row < screen.find<QListWidget>("tanulok")->count(); ++row)
            learners.append(screen.find<QListWidget>("tanulok")->item(row)->text());
        QCOMPARE(learners, QStringList({"Anna", "Béla", "Csaba"}));
        QCOMPARE(screen.column("szojegyzekTabla", 0), QStringList({"gyumolcs", "sajat"}));
        QCOMPARE(screen.column("szojegyzekTabla", 1), QStringList({"2", "1"}));
        QCOMPARE(screen.column("szojegyzekTabla", 2), QStringList({"közös (listak)", "Anna mappája"}));
    }

    // Every pair and every refused row is shown before anything is written; the teacher's names
    // and folder are used; nothing is written until "Írás", and nothing over a file already there.
    void importsThroughThePreview_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QStringList>("englishShown");
        QTest::addColumn<QStringList>("refusedLines");
        QTest::addColumn<QStringList>("written");
        QTest::addRow("CSV with a refused row")
            << QByteArray("Angol;Magyar\r\ncat;macska\r\n;kutya\r\n") << "allatok.csv" << QStringList{"cat"}
            << QStringList{"1", "3"} << QStringList{};
        QTest::addRow("KVTML of two lessons")
            << QByteArray("<?xml version=\"1.0\"?><kvtml version=\"2.0\"><identifiers><identifier id=\"0\"><locale>en"
                          "</locale></identifier><identifier id=\"1\"><locale>hu</locale></identifier></identifiers>"
                          "<entries><entry id=\"0\"><translation id=\"0\"><text>sun</text></translation><translation "
                          "id=\"1\"><text>nap</text></translation></entry><entry id=\"1\"><translation id=\"0\"><text>"
                          "moon</text></translation><translation id=\"1\"><text>hold</text></translation></entry>"
                          "</entries><lessons><container><name>a</name><entry id=\"0\"/></container><container>"
                          "<name>b</name><entry id=\"1\"/></container></lessons></kvtml>")
            << "egbolt.kvtml" << QStringList{"sun", "moon"} << QStringList{} << QStringList{"eg-01.szo", "eg-02.szo"};
    }
    void importsThroughThePreview()
    {
        QFETCH(QByteArray, source);
        QFETCH(QString, fileName);
        ClassOnScreen screen;
        const QString path = screen.work.filePath(fileName);
        writeFile(path, source);
        const QStringList before = entriesBesideTheLock(screen.directory + "/listak");
        ImportDialog *dialog = screen.dropping({path});
        QVERIFY(dialog);
        QFETCH(QStringList, englishShown);
        QCOMPARE(screen.column("szoparok", 1), englishShown);
        QFETCH(QStringList, refusedLines);
        QCOMPARE(screen.column("hibasSorok", 1), refusedLines);
        QCOMPARE(entriesBesideTheLock(screen.directory + "/listak"), before);
        auto *write = dialog->findChild<QPushButton *>("iras");
        QFETCH(QStringList, written);
        QCOMPARE(write->isEnabled(), !written.isEmpty());
        if (written.isEmpty())
            return;
        dialog->findChild<QTableWidget *>("forrasok")->item(0, 1)->setText(QStringLiteral("eg"));
        write->click();
        QStringList after = before + written;
        after.sort();
        QCOMPARE(entriesBesideTheLock(screen.directory + "/listak"), after);
        QCOMPARE(screen.column("szojegyzekTabla", 0).size(), 2 + written.size()); // the table is read again
        // A second import of the same names writes nothing, not even the names still free.
        QFile::remove(screen.directory + "/listak/" + written.last());
        screen.importing({path})->findChild<QTableWidget *>("forrasok")->item(0, 1)->setText(QStringLiteral("eg"));
        screen.find<ImportDialog>("importalas")->findChild<QPushButton *>("iras")->click();
        QVERIFY(screen.dialogs.messages.last().contains(QStringLiteral("Már létezik, nem írom felül")));
        QVERIFY(!QFile::exists(screen.directory + "/listak/" + written.last()));
    }

    // What holds an import back is judged over all its files before anything is written. A null
    // content stands for a file that could not be read.
    void plansAnImportAsAWhole_data()
    {
        QTest::addColumn<QByteArrayList>("contents");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("maxLists");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("problems"); // a phrase of each, in order
        const QByteArray cat = "cat;macska\r\n", dog = "dog;kutya\r\n";
        QTest::addRow("two files, two names") << QByteArrayList{cat, dog} << QStringList{"a", " b "} << 500
                                              << QStringList{"a.szo", "b.szo"} << QStringList{};
        QTest::addRow("one name twice, in another case")
            << QByteArrayList{cat, dog} << QStringList{"allatok", "Allatok"} << 500
            << QStringList{"allatok.szo", "Allatok.szo"} << QStringList{"neve azonos: Allatok.szo"};
        QTest::addRow("a name that is a path") << QByteArrayList{cat} << QStringList{"../x"} << 500
                                               << QStringList{"?.szo"} << QStringList{"szójegyzéknév: „../x”"};
        QTest::addRow("no name") << QByteArrayList{cat} << QStringList{""} << 500 << QStringList{"?.szo"}
                                 << QStringList{"szójegyzéknév: „”"};
        QTest::addRow("a refused row and no pairs")
            << QByteArrayList{cat + ";kutya\r\n", ""} << QStringList{"a", "b"} << 500 << QStringList{"a.szo"}
            << QStringList{"1 sor nem vehető át", "nincs benne egy szópár"};
        QTest::addRow("a file that could not be read") << QByteArrayList{QByteArray(), dog} << QStringList{"a", "b"}
                                                       << 500 << QStringList{"b.szo"} << QStringList{"nem olvasható"};
        QTest::addRow("more lists than allowed")
            << QByteArrayList{cat.repeated(21), dog} << QStringList{"a", "b"} << 2
            << QStringList{"a-01.szo", "a-02.szo", "b.szo"} << QStringList{"több mint 2 szójegyzék"};
    }
    void plansAnImportAsAWhole()
    {
        QFETCH(QByteArrayList, contents);
        QList<ImportSource> sources;
        for (const QByteArray &content : std::as_const(contents)) {
            const QString path = QStringLiteral("forras%1.csv").arg(sources.size());
            sources.append(content.isNull() ? ImportSource{path, {}, path + QStringLiteral(" nem olvasható")}
                                            : ImportSource{path, readWordSource(content), {}});
        }
        QFETCH(QStringList, names);
        QFETCH(int, maxLists);
        const ImportPlan plan = planImport(sources, names, maxLists);
        QStringList files;
        for (const ListFile &file : plan.files)
            files.append(file.fileName);
        QTEST(files, "files");
        QFETCH(QStringList, problems);
        QCOMPARE(plan.problems.size(), problems.size());
        for (qsizetype index = 0; index < problems.size(); ++index)
            QVERIFY2(plan.problems[index].contains(problems[index]), qPrintable(plan.problems[index]));
        QCOMPARE(plan.sourceOfFile.size(), plan.files.size());
    }

    // A folder reached through another account's link is not written to, whatever the teacher picks.
    void neverWritesThroughAnotherAccountsLink()
    {
        if (!runsAsRoot())
            QSKIP("giving a link to another account needs root");
        QCOMPARE(QProcess::execute("sh", {"-c", "getent passwd vokalindo-idegen >/dev/null || useradd -M "
                                                "vokalindo-idegen"}),
                 0);
        ClassOnScreen screen;
        const QString elsewhere = screen.work.filePath(QStringLiteral("mashol"));
        QDir().mkdir(elsewhere);
        const QString link = screen.directory + QStringLiteral("/atvezet");
        QVERIFY(QFile::link(elsewhere, link));
        QCOMPARE(QProcess::execute("chown", {"-h", "vokalindo-idegen", link}), 0);
        const QString path = screen.work.filePath(QStringLiteral("szavak.csv"));
        writeFile(path, "cat;macska\r\n");
        ImportDialog *dialog = screen.importing({path});
        screen.dialogs.folder = link;
        auto *target = dialog->findChild<QComboBox *>("celMappa");
        target->setCurrentIndex(target->count() - 1);
        emit target->activated(target->count() - 1);
        dialog->findChild<QPushButton *>("iras")->click();
        QProcess::execute("userdel", {"vokalindo-idegen"});
        QVERIFY(QDir(elsewhere).isEmpty());
        QVERIFY(screen.dialogs.messages.value(0).contains(QStringLiteral("másik fiók hivatkozása")));
    }

    // The kind is told by the name the teacher gives, and the bytes are the tool's own.
    void exportsAsTheToolExports_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        const QList<NamedList> lists{{"gyumolcs", {{"apple", "alma", ""}, {"pear", "körte", "gyümölcs"}}},
                                     {"sajat", {{"dog", "kutya", ""}}}};
        QTest::addRow("csv") << "szavak.csv" << csvOfLists(lists);
        QTest::addRow("tsv") << "szavak.tsv" << tsvOfLists(lists);
        QTest::addRow("kvtml") << "szavak.kvtml" << kvtmlOfLists(lists, "szavak");
    }
    void exportsAsTheToolExports()
    {
        QFETCH(QString, fileName);
        ClassOnScreen screen;
        auto *table = screen.find<QTableWidget>("szojegyzekTabla");
        table->selectAll();
        screen.dialogs.saveAs = screen.work.filePath(fileName);
        screen.find<QPushButton>("exportalasGomb")->click();
        QFETCH(QByteArray, bytes);
        QCOMPARE(fileContents(*screen.dialogs.saveAs), bytes);
        // Not over one of the lists it reads.
        screen.dialogs.saveAs = screen.directory + "/listak/gyumolcs.szo";
        const QByteArray list = fileContents(*screen.dialogs.saveAs);
        screen.find<QPushButton>("exportalasGomb")->click();
        QCOMPARE(fileContents(*screen.dialogs.saveAs), list);
    }

    void printsATestSheetWithItsAnswers()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is missing");
        ClassOnScreen screen;
        screen.dialogs.printedPdf = screen.work.filePath(QStringLiteral("dolgozat.pdf"));
        screen.selectList(QStringLiteral("gyumolcs"));
        auto *kind = screen.find<QComboBox>("nyomtatasFajta");
        kind->setCurrentIndex(kind->findText(QStringLiteral("Dolgozat: angolból magyarra")));
        screen.find<QPushButton>("nyomtatasGomb")->click();
        const QStringList pages = pdfText(screen.dialogs.printedPdf).split(QLatin1Char('\f'));
        QVERIFY2(pages.size() >= 2, qPrintable(pages.join("|") + screen.dialogs.messages.join("|")));
        QVERIFY(pages[0].contains(QStringLiteral("Írd a vonalra a szó magyar megfelelőjét!")));
        QVERIFY(pages[0].contains(QStringLiteral("apple")) && !pages[0].contains(QStringLiteral("körte")));
        QVERIFY(pages[1].contains(QStringLiteral("körte")));
    }

    // Sorted by what the cells mean, and saved with the report's own figures.
    void sortsTheResultsAndSavesThemAsTheReportCountsThem()
    {
        ClassOnScreen screen;
        auto *table = screen.find<QTableWidget>("eredmenyTabla");
        QCOMPARE(screen.column("eredmenyTabla", 0), QStringList({"Anna", "Béla", "Csaba"}));
        table->horizontalHeader()->setSortIndicator(4, Qt::DescendingOrder); // wrong answers
        QCOMPARE(screen.column("eredmenyTabla", 0), QStringList({"Csaba", "Anna", "Béla"}));
        QCOMPARE(screen.column("eredmenyTabla", 4), QStringList({"12", "3", "0"}));

        screen.dialogs.saveAs = screen.work.filePath(QStringLiteral("eredmenyek.csv"));
        screen.find<QPushButton>("csvMentesGomb")->click();
        const std::optional<ClassReport> report = readClassReport(screen.directory, QDateTime::currentDateTime());
        QVERIFY(report);
        QCOMPARE(fileContents(*screen.dialogs.saveAs), classTableCsv(classTableRows(*report)));
        QVERIFY(fileContents(*screen.dialogs.saveAs).contains("\r\nAnna;2;2026-12-01;gyumolcs;3;1;0;0\r\n"));
        // Never among the learners' data.
        screen.dialogs.saveAs = screen.directory + QStringLiteral("/Anna/eredmenyek.csv");
        screen.find<QPushButton>("csvMentesGomb")->click();
        QVERIFY(!QFile::exists(*screen.dialogs.saveAs));

        table->setCurrentCell(0, 0);
        screen.find<QPushButton>("tanuloLapjaGomb")->click();
        QVERIFY(screen.window.findChild<QDialog *>("tanuloLapja"));

        // The whole report, as vokalindo-report writes it, for this account alone.
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/osztalyjelentes.html");
        screen.find<QPushButton>("bongeszobenGomb")->click();
        QVERIFY(fileContents(screen.dialogs.openedPage).contains("<table id=\"osztaly\">"));
        if (!kOnWindows) // Windows keeps who may read it in an access list, which Qt does not show here
            QCOMPARE(QFile::permissions(screen.dialogs.openedPage) & (QFile::ReadGroup | QFile::ReadOther),
                     QFile::Permissions());
    }

    // A screen reader names every control a keyboard can reach.
    void everyControlHasAName()
    {
        ClassOnScreen screen;
        screen.window.show();
        QStringList nameless;
        for (QWidget *widget : screen.window.findChildren<QWidget *>()) {
            if (widget->focusPolicy() == Qt::NoFocus || !widget->isVisibleTo(&screen.window))
                continue;
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
            if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
                nameless.append(widget->objectName() + "/" + widget->metaObject()->className());
        }
        QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(" ")));
    }
};

QTEST_MAIN(TestTeacherWindow)
#include "test_teacher_window.moc"
