// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, the main-menu reset, EXIT and the about message.
#include "support/form_harness.h"

#include "app/word_grid.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

class TestScreens : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsTheUserSelectionScreen()
    {
        FormHarness harness("Anna\r\n");
        QVERIFY(harness.start());
        QCOMPARE(harness.visibleControls(), kUserSelection);
        QCOMPARE(harness.control<QComboBox>("Combo1")->currentText(), QStringLiteral("Válaszd ki a Neved!"));
        QCOMPARE(harness.form->pairCount, 0);
        QCOMPARE(harness.form->fieldSeparator, QString(QChar(0x0E)));
        QVERIFY(harness.dialogs.shown.isEmpty());
    }

    void startUpPreparesTheHiddenGrid()
    {
        FormHarness harness;
        QVERIFY(harness.start());
        auto *grid = harness.control<WordGrid>("MSFlexGrid1");
        QCOMPARE(grid->cellText(0, 0), QString());
        QCOMPARE(grid->cellText(0, 1), QStringLiteral("                 Angol"));
        QCOMPARE(grid->cellText(0, 2), QStringLiteral("                 Magyar"));
        QCOMPARE(grid->cellText(0, 3), QStringLiteral("                     Megjegyzések"));
        QCOMPARE(grid->verticalHeader()->width(), 500 / 15);
        QCOMPARE(grid->columnWidth(0), 2500 / 15);
        QCOMPARE(grid->columnWidth(1), 2500 / 15);
        QCOMPARE(grid->columnWidth(2), 4000 / 15);
        // Rows 1-20 start empty; no numbering of the toolkit's own shows in the fixed column.
        for (int row = 1; row < WordGrid::kRows; ++row) {
            for (int column = 0; column < WordGrid::kColumns; ++column)
                QVERIFY(grid->cellText(row, column).isEmpty());
        }
    }

    void gridCellsAreAddressedAsTheWholeTable()
    {
        WordGrid grid;
        grid.setCellText(1, 0, QStringLiteral("1"));
        grid.setCellText(1, 1, QStringLiteral("apple"));
        grid.setCellText(20, 3, QStringLiteral(" "));
        QCOMPARE(grid.cellText(1, 0), QStringLiteral("1"));
        QCOMPARE(grid.cellText(1, 1), QStringLiteral("apple"));
        QCOMPARE(grid.cellText(20, 3), QStringLiteral(" "));
        QCOMPARE(grid.item(0, 0)->text(), QStringLiteral("apple"));
        QCOMPARE(grid.verticalHeaderItem(0)->text(), QStringLiteral("1"));
        grid.setCellText(1, 1, QString());
        QCOMPARE(grid.cellText(1, 1), QString());
    }

    void resetToMainMenuTwiceEqualsOnce()
    {
        FormHarness harness("Anna\r\n");
        QVERIFY(harness.start());
        harness.pickName(QStringLiteral("Anna"));
        harness.click("Command5");
        // Leave the window in a state the reset must undo.
        harness.control("Text4")->show();
        harness.control("MSFlexGrid1")->show();
        harness.control("Text3")->show();
        harness.control<QLineEdit>("Text3")->setText(QStringLiteral("x"));
        harness.form->gridEditable = harness.form->cellEditOpen = harness.form->loadFailed = true;
        harness.form->answerSubmitted = harness.form->leaveRequested = true;

        harness.form->ResetToMainMenu();
        const QSet<QString> once = harness.visibleControls();
        harness.form->ResetToMainMenu();
        QCOMPARE(harness.visibleControls(), once);
        QCOMPARE(once, kMainMenu);
        QVERIFY(!harness.form->gridEditable && !harness.form->cellEditOpen && !harness.form->loadFailed);
        QVERIFY(!harness.form->answerSubmitted && !harness.form->leaveRequested);
        QCOMPARE(harness.control<QLineEdit>("Text3")->text(), QString());
    }

    void resetLeavesWhatItDoesNotName()
    {
        FormHarness harness("Anna\r\n");
        QVERIFY(harness.start());
        harness.pickName(QStringLiteral("Anna"));
        // On the name-picked screen, the reset shows the menu buttons but keeps the name box and its buttons.
        harness.form->ResetToMainMenu();
        QCOMPARE(harness.visibleControls(), screen({"Combo1", "Command5", "Vissza_Com6", "Eredméynek_Com", "Új_Com1",
                                                    "Szerkeszt_Comm", "Gyak_be_Com2", "Név_vált_Com"}));
        QVERIFY(!harness.control("Vissza_Com4")->isEnabled());
    }

    void optionGroupsAreIndependent()
    {
        FormHarness harness;
        QVERIFY(harness.start());
        for (const char *name : {"Option1", "Option2", "Option3", "Option4", "Option5"})
            harness.control(name)->show();
        harness.control("Frame1")->show();
        auto checked = [&](const char *name) { return harness.control<QRadioButton>(name)->isChecked(); };

        harness.click("Option5");
        QVERIFY(checked("Option5") && !checked("Option4"));
        QVERIFY(checked("Option2"));
        harness.click("Option1");
        QVERIFY(checked("Option1") && !checked("Option2") && !checked("Option3"));
        QVERIFY(checked("Option5"));
        harness.click("Option3");
        QVERIFY(checked("Option3") && !checked("Option1"));
        harness.click("Option4");
        QVERIFY(checked("Option4") && !checked("Option5"));
        QVERIFY(checked("Option3"));
    }

    void aboutShowsThreeLinesAndChangesNothing()
    {
        FormHarness harness("Anna\r\n");
        QVERIFY(harness.start());
        const QString about = QStringLiteral("Verzió: 1.0\r\nDátum: 2004.11.28.\r\nJogállás: Szabad\r\n");

        harness.click("Command6");
        harness.pickName(QStringLiteral("Anna"));
        harness.click("Command5");
        const QSet<QString> mainMenu = harness.visibleControls();
        harness.click("Command6");
        QCOMPARE(harness.visibleControls(), mainMenu);
        QCOMPARE(harness.dialogs.messages(), (QStringList{about, about}));
        QCOMPARE(harness.form->currentUser, QStringLiteral("Anna"));
    }

    void exitClosesTheWindowWithoutAQuestion()
    {
        FormHarness harness;
        QVERIFY(harness.start());
        harness.click("Command2");
        QVERIFY(!harness.form->isVisible());
        QVERIFY(harness.dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(TestScreens)
#include "test_screens.moc"
