// SPDX-License-Identifier: GPL-3.0-or-later
// Practice: loading a list for it, runs in each direction, leaving, the results log and its viewer.
#include "support/file_helpers.h"
#include "support/form_harness.h"
#include "support/word_list_bytes.h"

#include "platform/code_page.h"
#include "results/results_log_view.h"
#include "results/results_record.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

namespace {

// Row 1: one answer; row 2: two answers; row 3: one answer with a note.
const QByteArray kAnimals =
    record("1", "dog", "kutya") + record("2", "cat", "macska, cica") + record("3", "horse", "l\xF3", "ny\xE1ripa");
const QByteArray kHeader = logHeader("Anna");

struct Practising : FormHarness {
    Practising() : FormHarness("Anna\r\n")
    {
        QDir(startDirectory.path()).mkdir(QStringLiteral("Anna"));
        writeFile(path(QStringLiteral("Anna/Anna.log")), kHeader);
        writeFile(path(QStringLiteral("Anna/allatok.szo")), kAnimals);
        if (!start())
            qFatal("start-up failed");
        pickName(QStringLiteral("Anna"));
        click("Command5");
    }

    void load()
    {
        dialogs.chooseFile(path(QStringLiteral("Anna/allatok.szo")));
        click("Gyak_be_Com2");
    }

    // Starts a run whose order is rows 2, 3, 1 (3 × r + 1, rounded) and, for a mixed run, whose
    // sides are the given directions.
    void startRun(const char *option, QList<float> directions = {})
    {
        random.numbers = QList<float>{0.4f, 0.7f, 0.1f} + directions;
        click(option);
        click("Tanul_Com4");
    }

    QString text(const char *box) const { return control<QLineEdit>(box)->text(); }

    void answer(const char *box, const QString &typed) const
    {
        typeInto(box, typed);
        pressEnter(box);
    }

    QByteArray expectedRecord(const QByteArray &middle) const
    {
        return platform::toCodePage(recordDateTimeText(clock.at, QLocale::system())) + ",  N\xE9v: Anna" + middle
               + "\r\n";
    }
};

} // namespace

class TestPractice : public QObject {
    Q_OBJECT

private slots:
    void anEnglishHungarianRunToTheEnd()
    {
        Practising window;
        window.load();
        QCOMPARE(window.visibleControls(), kPracticeSetup);
        QVERIFY(window.control<QRadioButton>("Option2")->isChecked());

        window.startRun("Option1");
        QCOMPARE(window.visibleControls(), kPractice);
        QCOMPARE(window.text("Text7"), QStringLiteral("Rossz válasz: 0"));
        QCOMPARE(window.text("Text8"), QStringLiteral("Megmutattam: 0"));
        QVERIFY(window.control<QLineEdit>("Text4")->isReadOnly());
        QVERIFY(!window.control<QLineEdit>("Text5")->isReadOnly());

        // Row 2 first: two answers, in any order, each once.
        QCOMPARE(window.text("Text4"), QStringLiteral("cat"));
        QCOMPARE(window.text("Text9"), QStringLiteral("2-féle megoldás van!"));
        QCOMPARE(QApplication::focusWidget(), window.control("Text5"));
        // Enter in the empty answer box does nothing.
        window.pressEnter("Text5");
        QCOMPARE(window.text("Text7"), QStringLiteral("Rossz válasz: 0"));
        QCOMPARE(window.text("Text9"), QStringLiteral("2-féle megoldás van!"));
        window.answer("Text5", QStringLiteral("cica"));
        QCOMPARE(window.text("Text9"), QStringLiteral("A beírt szó megfelel! Még 1 megoldás van hátra!"));
        window.answer("Text5", QStringLiteral("cica"));
        QCOMPARE(window.text("Text9"), QStringLiteral("A beírt szó nem felel meg! Kérlek ismételd meg!"));
        QCOMPARE(window.text("Text7"), QStringLiteral("Rossz válasz: 1"));
        QCOMPARE(window.text("Text5"), QString());
        window.click("Megmutat_Comm");
        QCOMPARE(window.text("Text9"), QStringLiteral("macska, cica"));
        QCOMPARE(window.text("Text8"), QStringLiteral("Megmutattam: 1"));
        window.typeInto("Text5", QStringLiteral("macska"));
        window.click("Mehet_Comm");
        QCOMPARE(window.text("Text9"), QStringLiteral("A beírt szavak megfeleltek! Mind a 2 megoldás teljesítve!"));

        QCOMPARE(window.text("Text4"), QStringLiteral("horse"));
        QCOMPARE(window.text("Text10"), QStringLiteral("nyáripa"));
        // Enter in the question box submits the answer box.
        window.typeInto("Text5", QStringLiteral("ló"));
        window.pressEnter("Text4");
        QCOMPARE(window.text("Text9"), QStringLiteral("A beírt szó megfelel!"));
        window.answer("Text5", QStringLiteral("kutya"));

        QCOMPARE(window.text("Text9"), QStringLiteral("Az öszes szót sikerült megoldani! Kattints a Vissza gombra!"));
        QCOMPARE(window.text("Text4"), QString());
        QCOMPARE(window.text("Text5"), QString());
        QVERIFY(window.form->allWordsSolved);
        QCOMPARE(window.visibleControls(), kPractice);

        // Finished: "Mehet" and "Megmutatja" count nothing; Enter on the focused "Vissza" leaves.
        window.typeInto("Text5", QStringLiteral("x"));
        window.click("Mehet_Comm");
        window.click("Megmutat_Comm");
        QCOMPARE(window.text("Text7"), QStringLiteral("Rossz válasz: 1"));
        QCOMPARE(window.text("Text8"), QStringLiteral("Megmutattam: 1"));
        window.control("Tanul_Vissza_Comm")->setFocus();
        QTest::keyClick(window.control("Tanul_Vissza_Comm"), Qt::Key_Return);

        QCOMPARE(window.visibleControls(), kPracticeSetup);
        QCOMPARE(window.fileBytes(QStringLiteral("Anna/Anna.log")),
                 kHeader
                     + window.expectedRecord(",  A sz\xF3jegyz\xE9k neve: allatok,  A felhozatal:  Angol - Magyar,  "
                                             "Megmutattam: 1,  Hib\xE1k Sz\xE1ma: 1,  A szavak sz\xE1ma: 3"));
        QVERIFY(!window.form->allWordsSolved);
        QVERIFY(window.dialogs.messages().isEmpty());
    }

    void aMixedRunLeftEarlyCarriesTheMark()
    {
        Practising window;
        window.load();
        window.startRun("Option3", {0.9f, 0.5f, 0.6f});
        // Position 1 (row 2) shows the English side, position 2 (row 3) the Hungarian one.
        QCOMPARE(window.text("Text4"), QStringLiteral("cat"));
        QVERIFY(window.control<QLineEdit>("Text4")->isReadOnly());
        window.answer("Text5", QStringLiteral("cica"));
        window.answer("Text5", QStringLiteral("macska"));
        QCOMPARE(window.text("Text5"), QStringLiteral("ló"));
        QCOMPARE(window.text("Text4"), QString());
        QVERIFY(window.control<QLineEdit>("Text5")->isReadOnly());
        QCOMPARE(QApplication::focusWidget(), window.control("Text4"));

        // Enter in the read-only question box submits the (empty) answer box: a wrong answer.
        window.pressEnter("Text5");
        QCOMPARE(window.text("Text7"), QStringLiteral("Rossz válasz: 1"));
        // "Mehet" with the answer box empty submits nothing.
        window.click("Mehet_Comm");
        QCOMPARE(window.text("Text7"), QStringLiteral("Rossz válasz: 1"));
        QCOMPARE(QApplication::focusWidget(), window.control("Text5"));

        window.click("Tanul_Vissza_Comm");
        QCOMPARE(window.visibleControls(), kPracticeSetup);
        QByteArray leftRecord = window.expectedRecord(
            ",  Csal\xE1s volt! (vissza),  A sz\xF3jegyz\xE9k neve: allatok,  A felhozatal:      Vegyes    ,  "
            "Megmutattam: 0,  Hib\xE1k Sz\xE1ma: 1,  A szavak sz\xE1ma: 3");
        QCOMPARE(window.fileBytes(QStringLiteral("Anna/Anna.log")), kHeader + leftRecord);

        // The direction stays chosen, also across "Név Váltás"; a second run counts from 0, starts
        // with an empty message box and is recorded after the first.
        window.click("Vissza_no_mentComm");
        window.click("Név_vált_Com");
        window.pickName(QStringLiteral("Anna"));
        window.click("Command5");
        window.load();
        QVERIFY(window.control<QRadioButton>("Option3")->isChecked());
        QVERIFY(!window.text("Text9").isEmpty());
        window.random.numbers = QList<float>{0.4f, 0.7f, 0.1f, 0.1f, 0.9f, 0.9f};
        window.click("Tanul_Com4");
        QCOMPARE(window.text("Text9"), QString());
        QCOMPARE(window.text("Text7"), QStringLiteral("Rossz válasz: 0"));
        window.click("Tanul_Vissza_Comm");
        QCOMPARE(window.fileBytes(QStringLiteral("Anna/Anna.log")),
                 kHeader + leftRecord + QByteArray(leftRecord).replace("Hib\xE1k Sz\xE1ma: 1", "Hib\xE1k Sz\xE1ma: 0"));
    }

    // "ñ" has no place in the code page: the record writes "?" for it.
    void aListNameOutsideTheCodePage()
    {
        Practising window;
        writeFile(window.path(QStringLiteral("Anna/ñandú.szo")), kAnimals);
        window.dialogs.chooseFile(window.path(QStringLiteral("Anna/ñandú.szo")));
        window.click("Gyak_be_Com2");
        QCOMPARE(window.control<QLabel>("Label4")->text(), QStringLiteral("ñandú"));
        window.startRun("Option2");
        window.click("Tanul_Vissza_Comm");
        QVERIFY(window.fileBytes(QStringLiteral("Anna/Anna.log")).contains("A sz\xF3jegyz\xE9k neve: ?and\xFA,  "));
    }

    // Past the last of 20 questions there is no question and no direction: nothing more counts.
    void aFinishedMixedRunOfTwentyPairsCountsNothingMore()
    {
        Practising window;
        QByteArray list;
        for (int pair = 1; pair <= 20; ++pair)
            list += record(QByteArray::number(pair), "en" + QByteArray::number(pair), "hu" + QByteArray::number(pair));
        writeFile(window.path(QStringLiteral("Anna/husz.szo")), list);
        window.dialogs.chooseFile(window.path(QStringLiteral("Anna/husz.szo")));
        window.click("Gyak_be_Com2");
        QList<float> numbers;
        for (int pair = 0; pair < 20; ++pair)
            numbers.append(float(pair) / 20.0f);                  // rows 1..20 in order
        window.random.numbers = numbers + QList<float>(20, 0.9f); // English shown every time
        window.click("Option3");
        window.click("Tanul_Com4");
        for (int pair = 1; pair <= 20; ++pair) {
            QCOMPARE(window.text("Text4"), QStringLiteral("en%1").arg(pair));
            window.answer("Text5", QStringLiteral("hu%1").arg(pair));
        }
        QVERIFY(window.form->allWordsSolved);
        window.typeInto("Text5", QStringLiteral("x"));
        window.click("Mehet_Comm");
        window.click("Megmutat_Comm");
        QCOMPARE(window.text("Text7"), QStringLiteral("Rossz válasz: 0"));
        QCOMPARE(window.text("Text8"), QStringLiteral("Megmutattam: 0"));
        QCOMPARE(window.text("Text9"), QStringLiteral("Az öszes szót sikerült megoldani! Kattints a Vissza gombra!"));
    }

    void aMagyarAngolRunAndItsButtons()
    {
        Practising window;
        window.load();
        window.startRun("Option2");
        QCOMPARE(window.text("Text5"), QStringLiteral("macska, cica"));
        QVERIFY(window.control<QLineEdit>("Text5")->isReadOnly());
        window.click("Mehet_Comm");
        QCOMPARE(QApplication::focusWidget(), window.control("Text5"));
        QCOMPARE(window.text("Text7"), QStringLiteral("Rossz válasz: 0"));
        window.click("Megmutat_Comm");
        window.click("Megmutat_Comm");
        QCOMPARE(window.text("Text9"), QStringLiteral("cat"));
        QCOMPARE(window.text("Text8"), QStringLiteral("Megmutattam: 2"));
        QCOMPARE(QApplication::focusWidget(), window.control("Text4"));
        window.typeInto("Text4", QStringLiteral("Cat"));
        window.click("Mehet_Comm");
        QCOMPARE(window.text("Text7"), QStringLiteral("Rossz válasz: 1"));
        window.typeInto("Text4", QStringLiteral("cat"));
        window.click("Mehet_Comm");
        QCOMPARE(window.text("Text5"), QStringLiteral("ló"));
    }

    void aCancelledLoadReturnsToTheMainMenu()
    {
        Practising window;
        window.dialogs.cancelFileDialog();
        window.click("Gyak_be_Com2");
        QCOMPARE(window.visibleControls(), kMainMenu);
        QVERIFY(window.dialogs.messages().isEmpty());

        // On the practice setup screen the grid opens no editor, not even over a cell of the list.
        window.load();
        window.control<QTableWidget>("MSFlexGrid1")->setCurrentCell(1, 1);
        window.form->MSFlexGrid1_DblClick();
        QVERIFY(!window.control("Text3")->isVisible());
        window.click("Vissza_no_mentComm");
        QCOMPARE(window.visibleControls(), kMainMenu);
    }

    void closingTheWindowDuringARunRecordsNothing()
    {
        Practising window;
        window.load();
        window.startRun("Option1");
        window.form->close();
        QVERIFY(!window.form->isVisible());
        QCOMPARE(window.fileBytes(QStringLiteral("Anna/Anna.log")), kHeader);
    }

    void aLogDeletedByHandIsMadeAnew_data()
    {
        QTest::addColumn<QString>("deleted");
        QTest::addRow("the log") << QStringLiteral("Anna/Anna.log");
        QTest::addRow("the learner's directory") << QStringLiteral("Anna");
    }

    void aLogDeletedByHandIsMadeAnew()
    {
        QFETCH(QString, deleted);
        Practising window;
        window.load();
        QVERIFY(QFileInfo(window.path(deleted)).isDir() ? QDir(window.path(deleted)).removeRecursively()
                                                        : QFile::remove(window.path(deleted)));
        window.startRun("Option1");
        window.click("Tanul_Vissza_Comm");
        QVERIFY(window.fileBytes(QStringLiteral("Anna/Anna.log"))
                    .startsWith(kHeader + window.expectedRecord("").chopped(2)));
        QVERIFY(window.dialogs.messages().isEmpty());
    }

    void aLogThatCannotBeWrittenIsReported()
    {
        Practising window;
        window.load();
        QVERIFY(QFile::remove(window.path(QStringLiteral("Anna/Anna.log"))));
        QVERIFY(QDir(window.path(QStringLiteral("Anna"))).mkdir(QStringLiteral("Anna.log")));
        window.startRun("Option1");
        window.click("Tanul_Vissza_Comm");
        QCOMPARE(window.dialogs.messages(), QStringList{QStringLiteral("Ismeretlen hiba!7")});
        QCOMPARE(window.visibleControls(), kPracticeSetup);
        QVERIFY(QFileInfo(window.path(QStringLiteral("Anna/Anna.log"))).isDir());
    }

    void theViewerShowsTheLogAndKeepsTheName()
    {
        Practising window;
        window.load();
        window.startRun("Option1");
        window.click("Tanul_Vissza_Comm");
        window.click("Vissza_no_mentComm");
        window.click("Név_vált_Com");
        window.pickName(QStringLiteral("Anna"));

        window.click("Eredméynek_Com");
        QCOMPARE(window.visibleControls(), kResults);
        auto *viewer = window.control<ResultsLogView>("Text12");
        const QStringList lines = viewer->toPlainText().split('\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.first(), QStringLiteral("Anna Eredményei:"));
        QVERIFY(lines.at(1).contains(QStringLiteral(",  Név: Anna,  Csalás volt! (vissza),  A szójegyzék neve: ")));

        // Typing there changes nothing; Tab moves on.
        viewer->setFocus();
        typeText(viewer, QStringLiteral("x"));
        QCOMPARE(viewer->toPlainText().split('\n'), lines);
        QTest::keyClick(viewer, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != viewer);
        window.click("Eredm_Kilép_Com");
        QCOMPARE(window.visibleControls(), kNamePicked);
        window.click("Eredméynek_Com");
        QCOMPARE(viewer->toPlainText().split('\n'), lines);
        QCOMPARE(window.form->currentUser, QStringLiteral("Anna"));

        // Without a log the box is empty, and nothing is reported.
        window.click("Eredm_Kilép_Com");
        QVERIFY(QDir(window.path(QStringLiteral("Anna"))).removeRecursively());
        window.click("Eredméynek_Com");
        QCOMPARE(viewer->toPlainText(), QString());
        QVERIFY(window.dialogs.messages().isEmpty());
    }

    // Years of runs, or a file put there by mistake: the header, "…", and the newest whole lines.
    void aHugeLogIsShownAbridged()
    {
        Practising window;
        const QByteArray line = "2026. 12. 07., 9:05:03,  N\xE9v: Anna,  A sz\xF3jegyz\xE9k neve: x\r\n";
        writeFile(window.path(QStringLiteral("Anna/Anna.log")), kHeader + QByteArray(40 << 20, 'z') + "\r\n" + line);
        window.click("Név_vált_Com");
        window.pickName(QStringLiteral("Anna"));
        window.click("Eredméynek_Com");
        const QStringList lines = window.control<ResultsLogView>("Text12")->toPlainText().split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(0), QStringLiteral("Anna Eredményei:"));
        QCOMPARE(lines.at(1), QStringLiteral("…"));
        QCOMPARE(lines.at(2), QStringLiteral("2026. 12. 07., 9:05:03,  Név: Anna,  A szójegyzék neve: x"));
    }
};

QTEST_MAIN(TestPractice)
#include "test_practice.moc"
