// SPDX-License-Identifier: GPL-3.0-or-later
// Learners: the names at start-up, adding, picking, signing in, changing learner.
#include "support/file_helpers.h"
#include "support/form_harness.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

const QString kNameTaken = QStringLiteral("A megadott név már létezik, Válassz másikat!");

QStringList listedNames(const FormHarness &harness)
{
    auto *combo = harness.control<QComboBox>("Combo1");
    QStringList names;
    for (int i = 0; i < combo->count(); ++i)
        names.append(combo->itemText(i));
    return names;
}

} // namespace

class TestSignIn : public QObject {
    Q_OBJECT

private slots:
    void registryNamesFillTheListInFileOrder()
    {
        FormHarness harness("Anna\r\n\r\nB\xE9la\r\nKis Anna");
        QVERIFY(harness.start());
        QCOMPARE(listedNames(harness),
                 (QStringList{QStringLiteral("Anna"), QStringLiteral("Béla"), QStringLiteral("Kis Anna")}));
        QCOMPARE(harness.control<QComboBox>("Combo1")->currentText(), QStringLiteral("Válaszd ki a Neved!"));
    }

    void missingRegistryEndsStartUpWithAMessage()
    {
        FormHarness harness(nullptr);
        QVERIFY(!harness.start());
        QCOMPARE(harness.dialogs.messages().size(), 1);
        QVERIFY(harness.dialogs.messages().constFirst().contains(QStringLiteral("init.usr")));
        QVERIFY(harness.dialogs.messages().constFirst().contains(QStringLiteral("nem található")));
        QVERIFY(!QFileInfo::exists(harness.path(QStringLiteral("init.usr"))));
    }

    void unreadableRegistryEndsStartUpWithAMessage()
    {
        FormHarness harness(nullptr);
        QVERIFY(QDir(harness.startDirectory.path()).mkdir(QStringLiteral("init.usr")));
        QVERIFY(!harness.start());
        QCOMPARE(harness.dialogs.messages().size(), 1);
        QVERIFY(harness.dialogs.messages().constFirst().contains(QStringLiteral("init.usr")));
        QVERIFY(harness.dialogs.messages().constFirst().contains(QStringLiteral("nem olvasható")));
    }

    void aLearnerIsAddedPickedAndSignedIn()
    {
        FormHarness harness("Anna\r\n");
        QVERIFY(harness.start());

        harness.click("Command4");
        QCOMPARE(harness.visibleControls(), kNewNameEntry);
        QCOMPARE(harness.control<QLineEdit>("Text11")->text(), QString());
        QCOMPARE(QApplication::focusWidget(), harness.control("Text11"));

        harness.typeInto("Text11", QStringLiteral("Kis Béla"));
        harness.pressEnter("Text11");
        QCOMPARE(harness.visibleControls(), kNameAdded);
        QCOMPARE(harness.fileBytes(QStringLiteral("init.usr")), QByteArray("Anna\r\nKis B\xE9la\r\n"));
        QCOMPARE(harness.fileBytes(QStringLiteral("Kis Béla/Kis Béla.log")), logHeader("Kis B\xE9la"));
        QCOMPARE(listedNames(harness), (QStringList{QStringLiteral("Anna"), QStringLiteral("Kis Béla")}));
        QCOMPARE(harness.control<QComboBox>("Combo1")->currentText(), QStringLiteral("Válaszd ki a Neved!"));
        QVERIFY(harness.dialogs.shown.isEmpty());

        harness.pickName(QStringLiteral("Kis Béla"));
        QCOMPARE(harness.visibleControls(), kNamePicked);
        QCOMPARE(harness.form->currentUser, QStringLiteral("Kis Béla"));

        harness.click("Command5");
        QCOMPARE(harness.visibleControls(), kMainMenu);
        QCOMPARE(harness.control<QLabel>("Label11")->text(), QStringLiteral("Kis Béla"));
    }

    void firstNameAddedToAnEmptyListLeavesTheBoxText()
    {
        FormHarness harness;
        QVERIFY(harness.start());
        harness.addLearner(QStringLiteral("Anna"));
        QCOMPARE(listedNames(harness), QStringList{QStringLiteral("Anna")});
        QCOMPARE(harness.control<QComboBox>("Combo1")->currentText(), QStringLiteral("Válaszd ki a Neved!"));
        QCOMPARE(harness.form->currentUser, QStringLiteral("Anna"));
        QCOMPARE(harness.visibleControls(), kNameAdded);
    }

    void changingLearnerAndGoingBack()
    {
        FormHarness harness("Anna\r\nB\xE9la\r\n");
        QVERIFY(harness.start());
        harness.pickName(QStringLiteral("Béla"));
        harness.click("Command5");

        harness.click("Név_vált_Com");
        QCOMPARE(harness.visibleControls(), kUserSelection);
        QCOMPARE(harness.control<QComboBox>("Combo1")->currentText(), QStringLiteral("Válaszd ki a Neved!"));
        QCOMPARE(listedNames(harness), (QStringList{QStringLiteral("Anna"), QStringLiteral("Béla")}));
        QCOMPARE(harness.form->currentUser, QStringLiteral("Béla"));

        // Picking the same name again still counts as a pick.
        harness.pickName(QStringLiteral("Béla"));
        QCOMPARE(harness.visibleControls(), kNamePicked);
        harness.click("Vissza_Com6");
        QCOMPARE(harness.visibleControls(), kUserSelection);
        QCOMPARE(harness.control<QComboBox>("Combo1")->currentText(), QStringLiteral("Válaszd ki a Neved!"));

        harness.click("Command4");
        harness.click("Vissza_Com6");
        QCOMPARE(harness.visibleControls(), kUserSelection);

        harness.pickName(QStringLiteral("Anna"));
        harness.click("Command5");
        QCOMPARE(harness.control<QLabel>("Label11")->text(), QStringLiteral("Anna"));
    }

    void pickingANameClosesTheNewNameBox()
    {
        FormHarness harness("Anna\r\n");
        QVERIFY(harness.start());
        harness.click("Command4");
        harness.typeInto("Text11", QStringLiteral("Béla"));
        harness.pickName(QStringLiteral("Anna"));
        QCOMPARE(harness.visibleControls(), kNamePicked);
        harness.click("Command5");
        QCOMPARE(harness.visibleControls(), kMainMenu);
        QCOMPARE(harness.form->currentUser, QStringLiteral("Anna"));
    }

    void typingInTheNameBoxPicksNothing()
    {
        FormHarness harness("Anna\r\nB\xE9la\r\n");
        QVERIFY(harness.start());
        harness.pickName(QStringLiteral("Anna"));

        auto *combo = harness.control<QComboBox>("Combo1");
        combo->lineEdit()->selectAll();
        typeText(combo, QStringLiteral("Béla"));
        QTest::keyClick(combo, Qt::Key_Return);
        harness.control("Command5")->setFocus(); // leaving the edit field
        QCOMPARE(harness.form->currentUser, QStringLiteral("Anna"));
        QCOMPARE(listedNames(harness), (QStringList{QStringLiteral("Anna"), QStringLiteral("Béla")}));

        harness.click("Command5");
        QCOMPARE(harness.control<QLabel>("Label11")->text(), QStringLiteral("Anna"));
    }

    void typedNamesPickNothingBeforeAnyPick()
    {
        FormHarness harness("Anna\r\n");
        QVERIFY(harness.start());
        auto *combo = harness.control<QComboBox>("Combo1");
        combo->lineEdit()->selectAll();
        typeText(combo, QStringLiteral("Anna"));
        QTest::keyClick(combo, Qt::Key_Return);
        harness.click("Command4");
        QCOMPARE(harness.form->currentUser, QString());
        QCOMPARE(harness.visibleControls(), kNewNameEntry);
        QCOMPARE(combo->count(), 1);
    }

    void existingNameIsRefused()
    {
        FormHarness harness("Anna\r\n");
        QVERIFY(QDir(harness.startDirectory.path()).mkdir(QStringLiteral("Anna")));
        QVERIFY(harness.start());
        harness.addLearner(QStringLiteral("Anna"));
        QCOMPARE(harness.dialogs.messages(), QStringList{kNameTaken});
        QCOMPARE(harness.visibleControls(), kUserSelection);
        QCOMPARE(QApplication::focusWidget(), harness.control("Command4"));
        QCOMPARE(harness.fileBytes(QStringLiteral("init.usr")), QByteArray("Anna\r\n"));
        QCOMPARE(listedNames(harness), QStringList{QStringLiteral("Anna")});
        // The submitted name becomes the current learner even though it was refused.
        QCOMPARE(harness.form->currentUser, QStringLiteral("Anna"));
    }

    void refusedNamesWriteNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addRow("dot dot") << QStringLiteral("..");
        QTest::addRow("dot") << QStringLiteral(".");
        QTest::addRow("path") << QStringLiteral("../Anna");
        // Longer than a directory name may be: the file system refuses it.
        QTest::addRow("300 characters") << QString(300, QChar(0xE1));
        // Names Windows cannot give a directory: refused there as the file system refuses them.
        if (kOnWindows) {
            QTest::addRow("a device") << QStringLiteral("CON");
            QTest::addRow("a device with an extension") << QStringLiteral("aux.szo");
            QTest::addRow("a trailing dot") << QStringLiteral("B\u00E9la.");
            QTest::addRow("a colon") << QStringLiteral("5:a");
        }
    }

    void refusedNamesWriteNothing()
    {
        QFETCH(QString, name);
        // The start directory alone in a parent of its own: whatever lies beside it elsewhere,
        // "../Anna" leads where nothing is.
        QTemporaryDir parent;
        FormHarness harness("Anna\r\n", parent.path());
        QVERIFY(harness.start());
        const QStringList before =
            QDir(harness.startDirectory.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        harness.addLearner(name);
        QCOMPARE(harness.dialogs.messages(), QStringList{kNameTaken});
        QCOMPARE(harness.visibleControls(), kUserSelection);
        QCOMPARE(harness.fileBytes(QStringLiteral("init.usr")), QByteArray("Anna\r\n"));
        QCOMPARE(QDir(harness.startDirectory.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), before);
        QCOMPARE(QDir(parent.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 1);
    }

    void failedAdditionIsReportedAndCanBeRetried()
    {
        FormHarness harness("Anna\r\n");
        QVERIFY(harness.start());
        QVERIFY(QFile::rename(harness.path(QStringLiteral("init.usr")), harness.path(QStringLiteral("saved"))));
        harness.addLearner(QStringLiteral("Béla"));
        // The name is free: what failed is the disk's, and the learner is not told otherwise.
        QCOMPARE(harness.dialogs.messages(), QStringList{QStringLiteral("Ismeretlen hiba!9")});
        QCOMPARE(harness.visibleControls(), kUserSelection);
        QVERIFY(!QFileInfo::exists(harness.path(QStringLiteral("Béla"))));
        QVERIFY(!QFileInfo::exists(harness.path(QStringLiteral("init.usr"))));
        QCOMPARE(listedNames(harness), QStringList{QStringLiteral("Anna")});

        QVERIFY(QFile::rename(harness.path(QStringLiteral("saved")), harness.path(QStringLiteral("init.usr"))));
        harness.addLearner(QStringLiteral("Béla"));
        QCOMPARE(harness.dialogs.messages().size(), 1);
        QCOMPARE(harness.fileBytes(QStringLiteral("init.usr")), QByteArray("Anna\r\nB\xE9la\r\n"));
        QCOMPARE(listedNames(harness), (QStringList{QStringLiteral("Anna"), QStringLiteral("Béla")}));
    }

    void enterInAnEmptyNameBoxDoesNothing()
    {
        FormHarness harness("Anna\r\n");
        QVERIFY(harness.start());
        harness.click("Command4");
        harness.pressEnter("Text11");
        QCOMPARE(harness.visibleControls(), kNewNameEntry);
        QVERIFY(harness.dialogs.shown.isEmpty());
        QCOMPARE(harness.fileBytes(QStringLiteral("init.usr")), QByteArray("Anna\r\n"));
    }

    void nameBoxKeepsOutWhatCannotBeStored()
    {
        FormHarness harness;
        QVERIFY(harness.start());
        harness.click("Command4");
        auto *box = harness.control<QLineEdit>("Text11");
        typeText(box, QStringLiteral("Ñoño"));
        QCOMPARE(box->text(), QStringLiteral("oo"));
        box->clear();
        QApplication::clipboard()->setText(QStringLiteral("Kis\x0E\tÁgi🙂ñ"));
        box->paste();
        QCOMPARE(box->text(), QStringLiteral("KisÁgi"));
        harness.pressEnter("Text11");
        QCOMPARE(harness.fileBytes(QStringLiteral("init.usr")), QByteArray("Kis\xC1gi\r\n"));
    }
};

QTEST_MAIN(TestSignIn)
#include "test_sign_in.moc"
