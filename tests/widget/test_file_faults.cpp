// Every file operation of the program meets a failing disk: the learner is told, the screen stays,
// and nothing already on disk changes.
#include "support/file_helpers.h"
#include "support/form_harness.h"
#include "support/word_list_bytes.h"

#include "platform/file_faults.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QTest>

using platform::FileOperation;

Q_DECLARE_METATYPE(platform::FileOperation)

namespace {

const QByteArray kRegistry = "Anna\r\n";
const QByteArray kHeader = "Anna Eredm\xE9nyei:\r\n";
const QByteArray kLog = kHeader + "2026. 12. 06., 10:00:00,  N\xE9v: Anna,  ...\r\n";
const QByteArray kList = record("1", "apple", "alma") + record("2", "pear", "k\xF6rte");

// Anna, signed in, with her log and a list on disk.
struct AnnasWindow : FormHarness {
    AnnasWindow() : FormHarness(kRegistry.constData())
    {
        QDir(startDirectory.path()).mkdir(QStringLiteral("Anna"));
        writeFile(path(QStringLiteral("Anna/Anna.log")), kLog);
        writeFile(path(QStringLiteral("Anna/list.szo")), kList);
        if (!start())
            qFatal("start-up failed");
        pickName(QStringLiteral("Anna"));
    }

    void chooseList() { dialogs.chooseFile(path(QStringLiteral("Anna/list.szo"))); }
};

void addFaultRows()
{
    QTest::addColumn<FileOperation>("operation");
    QTest::addColumn<int>("skip");
    QTest::addColumn<qint64>("bytesBeforeFailure");
}

} // namespace

class TestFileFaults : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { platform::clearFileFaults(); }

    void addingALearner_data()
    {
        addFaultRows();
        QTest::addRow("log write fails part-way") << FileOperation::Write << 0 << qint64(4);
        QTest::addRow("log cannot be put in place") << FileOperation::Rename << 0 << qint64(0);
        QTest::addRow("registry append fails part-way") << FileOperation::Write << 1 << qint64(2);
    }

    void addingALearner()
    {
        QFETCH(FileOperation, operation);
        QFETCH(int, skip);
        QFETCH(qint64, bytesBeforeFailure);
        AnnasWindow window;
        window.click("Vissza_Com6");
        platform::planFileFault(operation, skip, bytesBeforeFailure);
        window.addLearner(QStringLiteral("Béla"));

        QCOMPARE(window.dialogs.messages(), QStringList{QStringLiteral("Ismeretlen hiba!9")});
        QCOMPARE(window.visibleControls(), screen({"Combo1", "Command4"}));
        QCOMPARE(window.fileBytes(QStringLiteral("init.usr")), kRegistry);
        QVERIFY(!QFileInfo::exists(window.path(QStringLiteral("Béla"))));

        // Nothing was left behind, so the same name goes in once the disk works again.
        window.addLearner(QStringLiteral("Béla"));
        QCOMPARE(window.fileBytes(QStringLiteral("init.usr")), kRegistry + "B\xE9la\r\n");
        QCOMPARE(window.fileBytes(QStringLiteral("Béla/Béla.log")), QByteArray("B\xE9la Eredm\xE9nyei:\r\n"));
    }

    void savingAList_data()
    {
        addFaultRows();
        QTest::addColumn<bool>("newList");
        for (const bool newList : {true, false}) {
            const char *kind = newList ? "new list" : "edited list";
            QTest::addRow("%s, write fails part-way", kind) << FileOperation::Write << 0 << qint64(7) << newList;
            QTest::addRow("%s, cannot be put in place", kind) << FileOperation::Rename << 0 << qint64(0) << newList;
        }
    }

    void savingAList()
    {
        QFETCH(FileOperation, operation);
        QFETCH(int, skip);
        QFETCH(qint64, bytesBeforeFailure);
        QFETCH(bool, newList);
        AnnasWindow window;
        window.click("Command5");
        if (newList) {
            window.click("Új_Com1");
        } else {
            window.chooseList();
            window.click("Szerkeszt_Comm");
        }
        window.typeInto("Text1", QStringLiteral("plum"));
        window.typeInto("Text2", QStringLiteral("szilva"));
        window.click("Command3");
        const QSet<QString> screenBefore = window.visibleControls();

        platform::planFileFault(operation, skip, bytesBeforeFailure);
        if (newList) {
            window.chooseList();
            window.dialogs.answerYesNo(true);
            window.click("Command1");
        } else {
            window.click("Szerk_kész_Comm");
        }
        QCOMPARE(window.dialogs.messages(), QStringList{QStringLiteral("Ismeretlen hiba!5")});
        QCOMPARE(window.visibleControls(), screenBefore);
        QCOMPARE(window.fileBytes(QStringLiteral("Anna/list.szo")), kList);
        QCOMPARE(QDir(window.path(QStringLiteral("Anna"))).entryList(QDir::Files),
                 (QStringList{QStringLiteral("Anna.log"), QStringLiteral("list.szo")}));
        QCOMPARE(window.form->pairCount, newList ? 1 : 3);
    }

    void recordingARun_data()
    {
        addFaultRows();
        QTest::addColumn<bool>("directoryGone");
        QTest::addRow("append fails part-way") << FileOperation::Write << 0 << qint64(10) << false;
        QTest::addRow("directory cannot be made again") << FileOperation::MakeDirectory << 0 << qint64(0) << true;
        QTest::addRow("new log cannot be put in place") << FileOperation::Rename << 0 << qint64(0) << true;
    }

    void recordingARun()
    {
        QFETCH(FileOperation, operation);
        QFETCH(int, skip);
        QFETCH(qint64, bytesBeforeFailure);
        QFETCH(bool, directoryGone);
        AnnasWindow window;
        window.click("Command5");
        window.chooseList();
        window.click("Gyak_be_Com2");
        window.click("Tanul_Com4");
        if (directoryGone)
            QVERIFY(QDir(window.path(QStringLiteral("Anna"))).removeRecursively());

        platform::planFileFault(operation, skip, bytesBeforeFailure);
        window.click("Tanul_Vissza_Comm");
        QCOMPARE(window.dialogs.messages(), QStringList{QStringLiteral("Ismeretlen hiba!7")});
        QCOMPARE(window.visibleControls(), screen({"Label12", "Label11", "Label3", "Label4", "MSFlexGrid1", "Option1",
                                                   "Option2", "Option3", "Tanul_Com4", "Vissza_no_mentComm"}));
        if (directoryGone)
            QVERIFY(QDir(window.path(QStringLiteral("Anna"))).entryList(QDir::Files).isEmpty());
        else
            QCOMPARE(window.fileBytes(QStringLiteral("Anna/Anna.log")), kLog);
    }

    void readingFails()
    {
        AnnasWindow window;
        platform::planFileFault(FileOperation::Read);
        window.click("Eredméynek_Com");
        QCOMPARE(window.dialogs.messages(), QStringList{QStringLiteral("Ismeretlen Fájl hiba!10")});
        QCOMPARE(window.control<QPlainTextEdit>("Text12")->toPlainText(), QString());
        window.click("Eredm_Kilép_Com");

        window.click("Command5");
        platform::planFileFault(FileOperation::Read);
        window.chooseList();
        window.click("Gyak_be_Com2");
        QCOMPARE(window.dialogs.messages().last(), QStringLiteral("Ismeretlen Fájl hiba!1"));
        QCOMPARE(window.visibleControls(),
                 screen({"Label12", "Label11", "Új_Com1", "Szerkeszt_Comm", "Gyak_be_Com2", "Név_vált_Com"}));
        QCOMPARE(window.fileBytes(QStringLiteral("Anna/list.szo")), kList);
        QCOMPARE(window.fileBytes(QStringLiteral("Anna/Anna.log")), kLog);
    }

    void aRegistryThatCannotBeReadEndsStartUp()
    {
        FormHarness harness(kRegistry.constData());
        platform::planFileFault(FileOperation::Read);
        QVERIFY(!harness.start());
        QCOMPARE(harness.dialogs.messages().size(), 1);
        QVERIFY(harness.dialogs.messages().constFirst().contains(QStringLiteral("nem olvasható")));
        QCOMPARE(harness.fileBytes(QStringLiteral("init.usr")), kRegistry);
    }

    // A hand-edited registry may name a learner "../x": nothing is ever read or written outside.
    void aNameThatLeadsOutsideStaysInside()
    {
        QTemporaryDir outer;
        const QString start = outer.filePath(QStringLiteral("start"));
        QVERIFY(QDir().mkdir(start));
        writeFile(start + "/init.usr", "../Anna\r\n");
        writeFile(outer.filePath(QStringLiteral("list.szo")), kList);
        QVERIFY(QDir(outer.path()).mkdir(QStringLiteral("Anna")));
        writeFile(outer.filePath(QStringLiteral("Anna/Anna.log")), kLog);

        ScriptedDialogs dialogs;
        FixedRandom random;
        FixedClock clock;
        Form1 form(start, dialogs, random, clock);
        QVERIFY(form.Form_Load());
        form.currentUser = QStringLiteral("../Anna");
        form.Eredméynek_Com_Click();
        QCOMPARE(form.findChild<QPlainTextEdit *>(QStringLiteral("Text12"))->toPlainText(), QString());

        form.Command5_Click();
        dialogs.chooseFile(outer.filePath(QStringLiteral("list.szo")));
        form.Gyak_be_Com2_Click();
        QCOMPARE(dialogs.shown.last().request.startDirectory, start);
        form.Tanul_Com4_Click();
        form.Tanul_Vissza_Comm_Click();
        QCOMPARE(dialogs.messages(), QStringList{QStringLiteral("Ismeretlen hiba!8")});
        QCOMPARE(fileContents(outer.filePath(QStringLiteral("Anna/Anna.log"))), kLog);
        QCOMPARE(QDir(start).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"init.usr"});
    }
};

QTEST_MAIN(TestFileFaults)
#include "test_file_faults.moc"
