// SPDX-License-Identifier: GPL-3.0-or-later
// Word lists: building a list, saving it, loading it for editing, the cell editor, saving it back.
#include "support/file_helpers.h"
#include "support/form_harness.h"
#include "support/word_list_bytes.h"

#include "app/word_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <tuple>

namespace {

const QString kUnknownFailure = QStringLiteral("Ismeretlen hiba!");

const QByteArray kThreePairs =
    record("1", "apple", "alma") + record("2", "pear", "k\xF6rte", "gy\xFCm\xF6lcs") + record("3", "plum", "szilva");

// A window signed in as Anna, whose own directory exists.
struct SignedIn : FormHarness {
    SignedIn() : FormHarness("Anna\r\n")
    {
        QDir(startDirectory.path()).mkdir(QStringLiteral("Anna"));
        if (!start())
            qFatal("start-up failed");
        pickName(QStringLiteral("Anna"));
        click("Command5");
    }

    WordGrid *grid() const { return control<WordGrid>("MSFlexGrid1"); }

    QStringList row(int number) const
    {
        QStringList cells;
        for (int column = 0; column < WordGrid::kColumns; ++column)
            cells.append(grid()->cellText(number, column));
        return cells;
    }

    bool gridIsEmpty() const
    {
        for (int number = 1; number < WordGrid::kRows; ++number) {
            if (row(number) != QStringList{"", "", "", ""})
                return false;
        }
        return true;
    }

    void addPair(const QString &english, const QString &hungarian, const QString &note = QString()) const
    {
        typeInto("Text1", english);
        typeInto("Text2", hungarian);
        typeInto("Text6", note);
        click("Command3");
    }

    // As a person does: the first click makes the cell current, the second makes it a double-click.
    void doubleClickCell(int number, int column) const
    {
        const QPoint centre = grid()->visualRect(grid()->model()->index(number - 1, column - 1)).center();
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, centre);
    }

    void clickGrid() const { QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, QPoint(5, 5)); }

    QLineEdit *editor() const { return control<QLineEdit>("Text3"); }

    // Loads a list for editing from Anna's directory.
    void editList(const QString &fileName, const QByteArray &bytes)
    {
        writeFile(path("Anna/" + fileName), bytes);
        dialogs.chooseFile(path("Anna/" + fileName));
        click("Szerkeszt_Comm");
    }
};

} // namespace

class TestWordLists : public QObject {
    Q_OBJECT

private slots:
    void aNewListHoldsTwentyPairs()
    {
        SignedIn window;
        window.click("Új_Com1");
        QCOMPARE(window.visibleControls(), kListBuilding);
        QVERIFY(!window.control("Vissza_Com4")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), window.control("Text1"));

        for (int pair = 1; pair <= 20; ++pair)
            window.addPair(QStringLiteral("en%1").arg(pair), QStringLiteral("hu%1").arg(pair));
        QCOMPARE(window.form->pairCount, 20);
        QCOMPARE(window.row(20), (QStringList{"20", "en20", "hu20", " "}));
        QVERIFY(window.dialogs.shown.isEmpty());

        window.addPair(QStringLiteral("one"), QStringLiteral("too many"), QStringLiteral("note"));
        QCOMPARE(window.dialogs.messages(), QStringList{QStringLiteral("Max 20 szópárt lehet beírni.")});
        QCOMPARE(window.form->pairCount, 20);
        for (const char *box : {"Text1", "Text2", "Text6"})
            QCOMPARE(window.control<QLineEdit>(box)->text(), QString());
        QCOMPARE(window.visibleControls(), kListBuilding);
    }

    void deletingDownToNoneDisablesDeleting()
    {
        SignedIn window;
        window.click("Új_Com1");
        window.addPair(QStringLiteral("apple"), QStringLiteral("alma"));
        window.addPair(QStringLiteral("pear"), QStringLiteral("körte"));
        QVERIFY(window.control("Vissza_Com4")->isEnabled());

        window.click("Vissza_Com4");
        QCOMPARE(window.form->pairCount, 1);
        QCOMPARE(window.row(2), (QStringList{"", "", "", ""}));
        QVERIFY(window.control("Vissza_Com4")->isEnabled());
        window.click("Vissza_Com4");
        QCOMPARE(window.form->pairCount, 0);
        QVERIFY(!window.control("Vissza_Com4")->isEnabled());
        QVERIFY(window.gridIsEmpty());

        window.addPair(QStringLiteral("plum"), QStringLiteral("szilva"));
        QVERIFY(window.control("Vissza_Com4")->isEnabled());
        QCOMPARE(window.row(1), (QStringList{"1", "plum", "szilva", " "}));
    }

    void addingWithAWordMissingPointsToIt()
    {
        SignedIn window;
        window.click("Új_Com1");
        window.typeInto("Text1", QStringLiteral("apple"));
        window.click("Command3");
        QCOMPARE(window.form->pairCount, 0);
        QCOMPARE(QApplication::focusWidget(), window.control("Text2"));
        window.control<QLineEdit>("Text1")->clear();
        window.typeInto("Text2", QStringLiteral("alma"));
        window.click("Command3");
        QCOMPARE(window.form->pairCount, 0);
        QCOMPARE(QApplication::focusWidget(), window.control("Text1"));
        QVERIFY(!window.control("Vissza_Com4")->isEnabled());
    }

    void enterAloneWalksTheEntryOrder()
    {
        SignedIn window;
        window.click("Új_Com1");
        auto focused = [] { return QApplication::focusWidget()->objectName(); };

        // English first: English, Hungarian, note, add button, and back to English.
        window.pressEnter("Text1");
        QCOMPARE(focused(), QStringLiteral("Text1"));
        typeText(QApplication::focusWidget(), QStringLiteral("apple"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(focused(), QStringLiteral("Text2"));
        typeText(QApplication::focusWidget(), QStringLiteral("alma"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(focused(), QStringLiteral("Text6"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(focused(), QStringLiteral("Command3"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(window.row(1), (QStringList{"1", "apple", "alma", " "}));
        QCOMPARE(focused(), QStringLiteral("Text1"));

        // Hungarian first: the Hungarian word still goes to its own column.
        window.click("Option5");
        QCOMPARE(focused(), QStringLiteral("Text2"));
        typeText(QApplication::focusWidget(), QStringLiteral("körte"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(focused(), QStringLiteral("Text1"));
        typeText(QApplication::focusWidget(), QStringLiteral("pear"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(focused(), QStringLiteral("Text6"));
        typeText(QApplication::focusWidget(), QStringLiteral("gyümölcs"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(window.row(2), (QStringList{"2", "pear", "körte", "gyümölcs"}));
        QCOMPARE(focused(), QStringLiteral("Text2"));
        window.click("Option4");
        QCOMPARE(focused(), QStringLiteral("Text1"));

        // Chosen with the arrow keys, an order leads where its click does.
        for (const auto &[from, key, to] :
             {std::tuple{"Option4", Qt::Key_Down, "Text2"}, std::tuple{"Option5", Qt::Key_Up, "Text1"}}) {
            window.control(from)->setFocus();
            QTest::keyClick(window.control(from), key);
            QCOMPARE(focused(), QString::fromLatin1(to));
        }
        QVERIFY(window.control<QRadioButton>("Option4")->isChecked());
    }

    void entryBoxesKeepOutWhatCannotBeStored()
    {
        SignedIn window;
        window.click("Új_Com1");
        for (const char *name : {"Text1", "Text2", "Text6", "Text3"}) {
            auto *box = window.control<QLineEdit>(name);
            QApplication::clipboard()->setText(QStringLiteral("a\x0E\tñ🙂ő"));
            box->paste();
            QCOMPARE(box->text(), QStringLiteral("aő"));
        }
    }

    void savingANewList()
    {
        SignedIn window;
        window.click("Új_Com1");
        window.click("Command1");
        QCOMPARE(window.dialogs.messages(),
                 QStringList{QStringLiteral("      A szójegyzék üres!\r\n      Nem lehet menteni!")});
        QCOMPARE(window.visibleControls(), kListBuilding);

        window.addPair(QStringLiteral("apple"), QStringLiteral("alma"));
        window.addPair(QStringLiteral("pear"), QStringLiteral("körte"), QStringLiteral("gyümölcs"));
        window.addPair(QStringLiteral("plum"), QStringLiteral("szilva"));
        window.dialogs.chooseFile(window.path("Anna/fruit.szo"));
        window.click("Command1");

        const platform::FileDialogRequest request = window.dialogs.shown.last().request;
        QCOMPARE(window.dialogs.shown.last().kind, ScriptedDialogs::Shown::SaveFile);
        QCOMPARE(request.startDirectory, window.path("Anna"));
        QCOMPARE(request.filterDescription, QStringLiteral("Írd be a szójegyzék nevét!"));
        QCOMPARE(request.filterPattern, QStringLiteral("*.szo"));
        QCOMPARE(request.defaultExtension, QStringLiteral("szo"));
        QCOMPARE(window.fileBytes("Anna/fruit.szo"), kThreePairs);
        QCOMPARE(window.form->wordListPath, window.path("Anna/fruit.szo"));
        QCOMPARE(window.visibleControls(), kMainMenu);
        QVERIFY(window.gridIsEmpty());
        QCOMPARE(window.dialogs.unexpected, 0);
    }

    void savingOverAnExistingList()
    {
        SignedIn window;
        const QByteArray old = record("1", "old", "r\xE9gi");
        writeFile(window.path("Anna/fruit.szo"), old);
        window.click("Új_Com1");
        window.addPair(QStringLiteral("apple"), QStringLiteral("alma"));
        const QString question =
            QStringLiteral("A megadott Szójegyzék név már létezik!\r\nFelülírjam? (a régi szavak elvesznek belőle!)");

        // No: the typed list stays on this screen, and the file is untouched.
        window.dialogs.chooseFile(window.path("Anna/fruit.szo"));
        window.dialogs.answerYesNo(false);
        window.click("Command1");
        QCOMPARE(window.dialogs.shown.last().text, question);
        QCOMPARE(window.fileBytes("Anna/fruit.szo"), old);
        QCOMPARE(window.visibleControls(), kListBuilding);
        QCOMPARE(window.row(1), (QStringList{"1", "apple", "alma", " "}));

        // A cancelled dialog also stays, without a word.
        window.dialogs.cancelFileDialog();
        window.click("Command1");
        QCOMPARE(window.visibleControls(), kListBuilding);
        QCOMPARE(window.form->pairCount, 1);

        window.dialogs.chooseFile(window.path("Anna/fruit.szo"));
        window.dialogs.answerYesNo(true);
        window.click("Command1");
        QCOMPARE(window.fileBytes("Anna/fruit.szo"), record("1", "apple", "alma"));
        QCOMPARE(window.visibleControls(), kMainMenu);
        QVERIFY(window.dialogs.messages().isEmpty());
        QCOMPARE(window.dialogs.unexpected, 0);
    }

    void aSaveThatCannotBeWrittenKeepsTheList_data()
    {
        QTest::addColumn<bool>("newList");
        QTest::addColumn<bool>("emptyCell"); // instead of the directory vanishing
        QTest::addRow("new list, directory gone") << true << false;
        QTest::addRow("edited list, directory gone") << false << false;
        QTest::addRow("edited list with an empty cell") << false << true;
    }

    void aSaveThatCannotBeWrittenKeepsTheList()
    {
        QFETCH(bool, newList);
        QFETCH(bool, emptyCell);
        SignedIn window;
        QVERIFY(QDir(window.path("Anna")).mkdir(QStringLiteral("lists")));
        if (newList) {
            window.click("Új_Com1");
            window.addPair(QStringLiteral("apple"), QStringLiteral("alma"));
        } else {
            window.editList(QStringLiteral("lists/fruit.szo"), kThreePairs);
        }
        // No box can empty a cell; the last line of defence before the file must hold all the same.
        if (emptyCell)
            window.grid()->setCellText(2, 1, QString());
        const QSet<QString> before = window.visibleControls();
        const QStringList firstRow = window.row(1);

        // The list's directory vanishes before the save.
        if (!emptyCell)
            QVERIFY(QDir(window.path("Anna/lists")).removeRecursively());
        if (newList)
            window.dialogs.chooseFile(window.path("Anna/lists/fruit.szo"));
        window.click(newList ? "Command1" : "Szerk_kész_Comm");

        QCOMPARE(window.dialogs.messages(), QStringList{kUnknownFailure + (emptyCell ? "6" : "5")});
        QCOMPARE(window.visibleControls(), before);
        QCOMPARE(window.row(1), firstRow);
        if (emptyCell)
            QCOMPARE(window.fileBytes("Anna/lists/fruit.szo"), kThreePairs);
        else
            QVERIFY(!QFileInfo::exists(window.path("Anna/lists")));
    }

    void aDirectoryInTheListsPlaceIsLeftAlone()
    {
        SignedIn window;
        QVERIFY(QDir(window.path("Anna")).mkdir(QStringLiteral("fruit.szo")));
        writeFile(window.path("Anna/fruit.szo/inside"), "kept");
        window.click("Új_Com1");
        window.addPair(QStringLiteral("apple"), QStringLiteral("alma"));
        window.dialogs.chooseFile(window.path("Anna/fruit.szo"));
        window.dialogs.answerYesNo(true);
        window.click("Command1");
        QCOMPARE(window.dialogs.messages(), QStringList{kUnknownFailure + "5"});
        QCOMPARE(window.visibleControls(), kListBuilding);
        QCOMPARE(window.fileBytes("Anna/fruit.szo/inside"), QByteArray("kept"));
    }

    void editingACellAndSavingItBack()
    {
        SignedIn window;
        window.editList(QStringLiteral("fruit.szo"), kThreePairs);
        const platform::FileDialogRequest request = window.dialogs.shown.last().request;
        QCOMPARE(request.startDirectory, window.path("Anna"));
        QCOMPARE(request.filterDescription, QStringLiteral("Szójegyzék fájlok"));
        QCOMPARE(request.filterPattern, QStringLiteral("*.szo"));
        QCOMPARE(window.visibleControls(), kListEditing);
        QVERIFY(window.control("Vissza_Com4")->isEnabled());
        QCOMPARE(window.control<QLabel>("Label4")->text(), QStringLiteral("fruit"));
        QCOMPARE(window.form->listName, QStringLiteral("fruit"));
        QCOMPARE(window.form->pairCount, 3);
        QCOMPARE(QApplication::focusWidget(), window.control("Text1"));

        window.doubleClickCell(2, 2);
        QVERIFY(window.editor()->isVisible());
        QCOMPARE(window.editor()->text(), QStringLiteral("körte"));
        QCOMPARE(QApplication::focusWidget(), window.editor());
        QCOMPARE(window.editor()->geometry(), window.grid()->cellRectInParent(2, 2));
        window.editor()->selectAll();
        typeText(window.editor(), QStringLiteral("körtefa"));
        window.pressEnter("Text3");
        QVERIFY(!window.editor()->isVisible());
        QVERIFY(!window.form->cellEditOpen);
        QCOMPARE(window.row(2), (QStringList{"2", "pear", "körtefa", "gyümölcs"}));
        // The focus goes back to the grid, so a Space next cannot press a button that leaves.
        QCOMPARE(QApplication::focusWidget(), window.grid());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(window.visibleControls(), kListEditing);

        // Once written back, a later click changes nothing.
        window.clickGrid();
        QCOMPARE(window.row(2), (QStringList{"2", "pear", "körtefa", "gyümölcs"}));

        window.click("Szerk_kész_Comm");
        QCOMPARE(window.fileBytes("Anna/fruit.szo"), record("1", "apple", "alma")
                                                         + record("2", "pear", "k\xF6rtefa", "gy\xFCm\xF6lcs")
                                                         + record("3", "plum", "szilva"));
        QCOMPARE(window.visibleControls(), kMainMenu);
        QVERIFY(window.gridIsEmpty());
        QCOMPARE(window.grid()->currentGridRow(), 0);
        QVERIFY(window.grid()->selectedItems().isEmpty());
    }

    void theEditorIsWrittenBackByAGridClickOrASave()
    {
        SignedIn window;
        window.editList(QStringLiteral("fruit.szo"), kThreePairs);

        // A double-click on another cell first writes the open editor back.
        window.doubleClickCell(1, 1);
        window.editor()->selectAll();
        typeText(window.editor(), QStringLiteral("apples"));
        window.doubleClickCell(3, 3);
        QCOMPARE(window.row(1), (QStringList{"1", "apples", "alma", " "}));
        QCOMPARE(window.editor()->text(), QStringLiteral(" "));
        QVERIFY(window.form->cellEditOpen);
        QCOMPARE(window.form->editRow, 3);
        QCOMPARE(window.form->editCol, 3);

        // Saving with the editor open saves what it holds.
        typeText(window.editor(), QStringLiteral("kék"));
        window.click("Szerk_kész_Comm");
        QCOMPARE(window.fileBytes("Anna/fruit.szo"), record("1", "apples", "alma")
                                                         + record("2", "pear", "k\xF6rte", "gy\xFCm\xF6lcs")
                                                         + record("3", "plum", "szilva", " k\xE9k"));
    }

    void anOpenEditorIsSavedWithANewListToo()
    {
        SignedIn window;
        window.click("Új_Com1");
        window.addPair(QStringLiteral("apple"), QStringLiteral("alma"));
        window.doubleClickCell(1, 2);
        window.editor()->selectAll();
        typeText(window.editor(), QStringLiteral("almafa"));
        window.dialogs.chooseFile(window.path("Anna/new.szo"));
        window.click("Command1");
        QCOMPARE(window.fileBytes("Anna/new.szo"), record("1", "apple", "almafa"));
    }

    void anEmptiedEditorStaysOpen()
    {
        SignedIn window;
        window.editList(QStringLiteral("fruit.szo"), kThreePairs);
        window.doubleClickCell(1, 1);
        window.editor()->clear();
        window.clickGrid();
        QVERIFY(window.editor()->isVisible());
        window.pressEnter("Text3");
        QVERIFY(window.editor()->isVisible());
        QVERIFY(window.form->cellEditOpen);
        QCOMPARE(window.row(1), (QStringList{"1", "apple", "alma", " "}));
        // While it is open, no other cell can be opened.
        window.doubleClickCell(2, 1);
        QCOMPARE(window.form->editRow, 1);
    }

    void aLongNoteKeepsItsTail()
    {
        SignedIn window;
        const QByteArray note = QByteArray(45, 'n') + "tail.";
        window.editList(QStringLiteral("fruit.szo"), record("1", "apple", "alma", note));
        window.doubleClickCell(1, 3);
        QCOMPARE(window.editor()->text(), QString::fromLatin1(note));

        // Past the typing limit nothing can be typed; deleting still works, and the rest stays whole.
        QTest::keyClick(window.editor(), Qt::Key_End);
        typeText(window.editor(), QStringLiteral("x"));
        QCOMPARE(window.editor()->text(), QString::fromLatin1(note));
        QTest::keyClick(window.editor(), Qt::Key_Backspace);
        typeText(window.editor(), QStringLiteral("x"));
        window.pressEnter("Text3");
        QCOMPARE(window.row(1).last(), QString::fromLatin1(note.chopped(1)));

        // Below the limit, typing works up to it.
        window.doubleClickCell(1, 1);
        window.editor()->selectAll();
        typeText(window.editor(), QString(45, 'a'));
        QCOMPARE(window.editor()->text(), QString(40, 'a'));
    }

    void deletingTheEditedRowClosesTheEditor()
    {
        SignedIn window;
        window.editList(QStringLiteral("fruit.szo"), kThreePairs);
        window.doubleClickCell(3, 1);
        window.click("Vissza_Com4");
        QVERIFY(!window.editor()->isVisible());
        QVERIFY(!window.form->cellEditOpen);

        window.addPair(QStringLiteral("fig"), QStringLiteral("füge"));
        window.clickGrid();
        window.pressEnter("Text3");
        QCOMPARE(window.row(3), (QStringList{"3", "fig", "füge", " "}));
    }

    void doubleClicksOutsideUsedCellsOpenNothing()
    {
        SignedIn window;
        window.editList(QStringLiteral("fruit.szo"), kThreePairs);
        // The current cell is a used one: a double-click elsewhere must not open the editor over it.
        window.grid()->setCurrentCell(1, 1);
        auto *header = window.grid()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
        QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
        auto *numbers = window.grid()->verticalHeader();
        QTest::mouseClick(numbers->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseDClick(numbers->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!window.editor()->isVisible());
        window.doubleClickCell(5, 2);
        QVERIFY(!window.editor()->isVisible());
        QVERIFY(!window.form->cellEditOpen);

        // Outside the list screens the grid opens nothing either.
        window.click("Vissza_no_mentComm");
        QVERIFY(!window.form->gridEditable);
    }

    void anEmptiedListAsksBeforeLeaving()
    {
        SignedIn window;
        window.editList(QStringLiteral("fruit.szo"), kThreePairs);
        for (int pair = 0; pair < 3; ++pair)
            window.click("Vissza_Com4");
        const QString question =
            QStringLiteral("      A szójegyzék üres!\r\n      Nem lehet menteni!\r\n      Be akarod fejezni?");

        window.dialogs.answerYesNo(false);
        window.click("Szerk_kész_Comm");
        QCOMPARE(window.dialogs.shown.last().text, question);
        QCOMPARE(window.visibleControls(), kListEditing);

        window.dialogs.answerYesNo(true);
        window.click("Szerk_kész_Comm");
        QCOMPARE(window.visibleControls(), kMainMenu);
        QCOMPARE(window.fileBytes("Anna/fruit.szo"), kThreePairs);
    }

    void cancelLeavesTheFileUntouched()
    {
        SignedIn window;
        window.editList(QStringLiteral("fruit.szo"), kThreePairs);
        window.doubleClickCell(1, 1);
        typeText(window.editor(), QStringLiteral("s"));
        window.pressEnter("Text3");
        window.addPair(QStringLiteral("fig"), QStringLiteral("füge"));
        window.click("Vissza_no_mentComm");
        QCOMPARE(window.visibleControls(), kMainMenu);
        QVERIFY(window.gridIsEmpty());
        QCOMPARE(window.fileBytes("Anna/fruit.szo"), kThreePairs);
    }

    void failedLoadsReturnToTheMainMenu_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::addRow("empty") << QByteArray() << QStringLiteral("A fájl üres!");
        QTest::addRow("extra line end") << kThreePairs + "\r\n" << QStringLiteral("A fájl üres!");
        QTest::addRow("number 21") << record("21", "a", "b") << QStringLiteral("Ismeretlen Fájl hiba!2");
        QTest::addRow("number 0") << record("0", "a", "b") << QStringLiteral("Ismeretlen Fájl hiba!2");
        QTest::addRow("empty field") << record("1", "", "b") << QStringLiteral("Ismeretlen Fájl hiba!3");
        QTest::addRow("gap") << record("1", "a", "b") + record("3", "c", "d")
                             << QStringLiteral("Ismeretlen Fájl hiba!4");
    }

    void failedLoadsReturnToTheMainMenu()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        SignedIn window;
        window.editList(QStringLiteral("bad.szo"), bytes);
        QCOMPARE(window.dialogs.messages(), QStringList{message});
        QVERIFY(window.form->loadFailed == false); // cleared by the return to the main menu
        QCOMPARE(window.visibleControls(), kMainMenu);
        QCOMPARE(window.fileBytes("Anna/bad.szo"), bytes);
    }

    void cancelledAndUnreadableLoads()
    {
        SignedIn window;
        window.dialogs.cancelFileDialog();
        window.click("Szerkeszt_Comm");
        QVERIFY(window.dialogs.messages().isEmpty());
        QCOMPARE(window.visibleControls(), kMainMenu);

        // A file deleted between the dialog and the read, and a directory chosen as a file.
        window.dialogs.chooseFile(window.path("Anna/gone.szo"));
        window.click("Szerkeszt_Comm");
        QVERIFY(QDir(window.path("Anna")).mkdir(QStringLiteral("dir.szo")));
        window.dialogs.chooseFile(window.path("Anna/dir.szo"));
        window.click("Szerkeszt_Comm");
        QCOMPARE(window.dialogs.messages(),
                 (QStringList{QStringLiteral("Ismeretlen Fájl hiba!1"), QStringLiteral("Ismeretlen Fájl hiba!1")}));
        QCOMPARE(window.visibleControls(), kMainMenu);

        // A file of gigabytes chosen by mistake: no more is read than a list can hold.
        QFile huge(window.path("Anna/huge.szo"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(4) << 30));
        QElapsedTimer timer;
        timer.start();
        window.dialogs.chooseFile(huge.fileName());
        window.click("Szerkeszt_Comm");
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(window.dialogs.messages().last(), QStringLiteral("A fájl üres!"));
        QCOMPARE(window.visibleControls(), kMainMenu);
    }

    void noRowOfAnEarlierListShowsUnderAShorterOne()
    {
        SignedIn window;
        // A failed load leaves its rows in the hidden grid...
        window.editList(QStringLiteral("bad.szo"), kThreePairs + record("21", "a", "b"));
        QCOMPARE(window.form->pairCount, 3);
        // ...and the next list, shorter, shows alone.
        window.editList(QStringLiteral("short.szo"), record("1", "fig", "f\xFCge"));
        QCOMPARE(window.form->pairCount, 1);
        QCOMPARE(window.row(1), (QStringList{"1", "fig", "füge", " "}));
        QCOMPARE(window.row(2), (QStringList{"", "", "", ""}));
    }

    void withoutItsDirectoryTheDialogsStartInTheStartDirectory()
    {
        SignedIn window;
        QVERIFY(QDir(window.path("Anna")).removeRecursively());
        window.dialogs.cancelFileDialog();
        window.click("Szerkeszt_Comm");
        QCOMPARE(window.dialogs.shown.last().request.startDirectory, window.startDirectory.path());
        window.click("Új_Com1");
        window.addPair(QStringLiteral("apple"), QStringLiteral("alma"));
        window.dialogs.cancelFileDialog();
        window.click("Command1");
        QCOMPARE(window.dialogs.shown.last().request.startDirectory, window.startDirectory.path());
    }

    void tabLeavesTheGrid()
    {
        SignedIn window;
        window.click("Új_Com1");
        window.addPair(QStringLiteral("apple"), QStringLiteral("alma"));
        window.grid()->setFocus();
        window.grid()->setCurrentCell(0, 0);
        QTest::keyClick(window.grid(), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != window.grid());
        QCOMPARE(window.grid()->currentRow(), 0);
        QCOMPARE(window.grid()->currentColumn(), 0);
    }
};

QTEST_MAIN(TestWordLists)
#include "test_word_lists.moc"
