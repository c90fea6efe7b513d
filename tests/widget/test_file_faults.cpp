// SPDX-License-Identifier: GPL-3.0-or-later
// Every file operation of the program meets a failing disk: the preloaded fault shim fails the
// system calls themselves, one after another, below every buffer. Each time the learner is either
// told and nothing on disk has changed, or the operation has completed in full: never a mix.
#include "support/file_helpers.h"
#include "support/form_harness.h"
#include "support/word_list_bytes.h"

#include "platform/code_page.h"
#include "results/results_log_view.h"
#include "results/results_record.h"

#include <QDir>
#include <QScopeGuard>
#include <QTest>

#include <cerrno>
#include <dlfcn.h>

namespace {

const QByteArray kRegistry = "Anna\r\n";
const QByteArray kHeader = logHeader("Anna");
const QByteArray kLog = kHeader + "2026. 12. 06., 10:00:00,  N\xE9v: Anna,  ...\r\n";
const QByteArray kList = record("1", "apple", "alma") + record("2", "pear", "k\xF6rte");
const QByteArray kPair = record("3", "plum", "szilva");

// The controls of tests/faults/fault_shim.c, found in the preloaded library.
struct FaultShim {
    int (*plan)(const char *family, int error, long failingCallIndex, long failingCalls, long bytesBeforeFailure,
                const char *prefix) = reinterpret_cast<decltype(plan)>(dlsym(RTLD_DEFAULT, "fault_shim_plan"));
    int (*fired)(int plan) = reinterpret_cast<decltype(fired)>(dlsym(RTLD_DEFAULT, "fault_shim_fired"));
    void (*clear)() = reinterpret_cast<decltype(clear)>(dlsym(RTLD_DEFAULT, "fault_shim_clear"));

    bool loaded() const { return plan && fired && clear; }
} shim;

enum class Operation {
    AddLearner,
    SaveNewList,
    SaveEditedList,
    RecordRun,
    RecordRunLogGone,
    RecordRunDirectoryGone,
    ShowLog,
    LoadList,
    StartUp,
};

// Anna with her log and a list on disk, the window brought to just before the operation.
struct Scene : FormHarness {
    explicit Scene(Operation operation) : FormHarness(kRegistry.constData()), operation(operation)
    {
        QDir(startDirectory.path()).mkdir(QStringLiteral("Anna"));
        writeFile(path(QStringLiteral("Anna/Anna.log")), kLog);
        writeFile(path(QStringLiteral("Anna/list.szo")), kList);
        if (operation == Operation::StartUp)
            return;
        if (!start())
            qFatal("start-up failed");
        pickName(QStringLiteral("Anna"));
        switch (operation) {
        case Operation::AddLearner:
            click("Vissza_Com6");
            break;
        case Operation::SaveNewList:
        case Operation::SaveEditedList:
            click("Command5");
            if (operation == Operation::SaveNewList) {
                click("Új_Com1");
            } else {
                chooseList();
                click("Szerkeszt_Comm");
            }
            typeInto("Text1", QStringLiteral("plum"));
            typeInto("Text2", QStringLiteral("szilva"));
            click("Command3");
            break;
        case Operation::RecordRun:
        case Operation::RecordRunLogGone:
        case Operation::RecordRunDirectoryGone:
            click("Command5");
            chooseList();
            click("Gyak_be_Com2");
            click("Tanul_Com4");
            if (operation == Operation::RecordRunLogGone)
                QFile::remove(path(QStringLiteral("Anna/Anna.log")));
            if (operation == Operation::RecordRunDirectoryGone)
                QDir(path(QStringLiteral("Anna"))).removeRecursively();
            break;
        case Operation::LoadList:
            click("Command5");
            chooseList();
            break;
        default:
            break;
        }
        screenBefore = visibleControls();
    }

    void chooseList() { dialogs.chooseFile(path(QStringLiteral("Anna/list.szo"))); }

    void perform()
    {
        switch (operation) {
        case Operation::AddLearner:
            return addLearner(QStringLiteral("Béla"));
        case Operation::SaveNewList:
            chooseList();
            dialogs.answerYesNo(true);
            return click("Command1");
        case Operation::SaveEditedList:
            return click("Szerk_kész_Comm");
        case Operation::RecordRun:
        case Operation::RecordRunLogGone:
        case Operation::RecordRunDirectoryGone:
            return click("Tanul_Vissza_Comm");
        case Operation::ShowLog:
            return click("Eredméynek_Com");
        case Operation::LoadList:
            return click("Gyak_be_Com2");
        case Operation::StartUp:
            started = start();
            return;
        }
    }

    QStringList annasFiles() const
    {
        return QDir(path(QStringLiteral("Anna"))).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    // Anna's files but the list.
    QStringList logFiles() const
    {
        QStringList files = annasFiles();
        files.removeAll(QStringLiteral("list.szo"));
        return files;
    }

    // The learner was told, and the disk holds what it held. With the cut-back of a part-way
    // append failing too, the old bytes can only be kept at the start of the file.
    void checkFailure(bool cutBackFailed)
    {
        switch (operation) {
        case Operation::AddLearner:
            QCOMPARE(dialogs.messages(), QStringList{QStringLiteral("Ismeretlen hiba!9")});
            QCOMPARE(visibleControls(), kUserSelection);
            if (cutBackFailed) {
                QVERIFY(fileBytes(QStringLiteral("init.usr")).startsWith(kRegistry));
                return;
            }
            QCOMPARE(fileBytes(QStringLiteral("init.usr")), kRegistry);
            QCOMPARE(entriesBesideTheLock(startDirectory.path()),
                     (QStringList{QStringLiteral("Anna"), QStringLiteral("init.usr")}));
            // Nothing was left behind, so the same name goes in once the disk works again.
            addLearner(QStringLiteral("Béla"));
            return checkSuccess(1);
        case Operation::SaveNewList:
        case Operation::SaveEditedList:
            QCOMPARE(dialogs.messages(), QStringList{QStringLiteral("Ismeretlen hiba!5")});
            QCOMPARE(visibleControls(), screenBefore);
            QCOMPARE(fileBytes(QStringLiteral("Anna/list.szo")), kList);
            QCOMPARE(annasFiles(), (QStringList{QStringLiteral("Anna.log"), QStringLiteral("list.szo")}));
            QCOMPARE(form->pairCount, operation == Operation::SaveNewList ? 1 : 3);
            return;
        case Operation::RecordRun:
            QCOMPARE(dialogs.messages(), QStringList{QStringLiteral("Ismeretlen hiba!7")});
            QCOMPARE(visibleControls(), kPracticeSetup);
            if (cutBackFailed) {
                QVERIFY(fileBytes(QStringLiteral("Anna/Anna.log")).startsWith(kLog));
                return;
            }
            QCOMPARE(fileBytes(QStringLiteral("Anna/Anna.log")), kLog);
            QCOMPARE(annasFiles(), (QStringList{QStringLiteral("Anna.log"), QStringLiteral("list.szo")}));
            return;
        case Operation::RecordRunLogGone:
        case Operation::RecordRunDirectoryGone:
            QCOMPARE(dialogs.messages(), QStringList{QStringLiteral("Ismeretlen hiba!7")});
            QCOMPARE(visibleControls(), kPracticeSetup);
            // No log, or one with its header alone: never an empty one or a part of a record.
            if (logFiles().isEmpty())
                return;
            QCOMPARE(logFiles(), QStringList{QStringLiteral("Anna.log")});
            QCOMPARE(fileBytes(QStringLiteral("Anna/Anna.log")), kHeader);
            return;
        case Operation::ShowLog:
            QCOMPARE(dialogs.messages(), QStringList{QStringLiteral("Ismeretlen Fájl hiba!10")});
            QCOMPARE(control<ResultsLogView>("Text12")->toPlainText(), QString());
            return;
        case Operation::LoadList:
            QCOMPARE(dialogs.messages(), QStringList{QStringLiteral("Ismeretlen Fájl hiba!1")});
            QCOMPARE(visibleControls(), kMainMenu);
            QCOMPARE(fileBytes(QStringLiteral("Anna/list.szo")), kList);
            return;
        case Operation::StartUp:
            QVERIFY(!started);
            QCOMPARE(dialogs.messages().size(), 1);
            QVERIFY2(dialogs.messages().constFirst().contains(QStringLiteral("nem olvasható")),
                     qPrintable(dialogs.messages().constFirst()));
            QCOMPARE(fileBytes(QStringLiteral("init.usr")), kRegistry);
            return;
        }
    }

    // The operation went through in full, with no message after the earlier ones.
    void checkSuccess(int earlierMessages = 0)
    {
        QCOMPARE(dialogs.messages().size(), earlierMessages);
        switch (operation) {
        case Operation::AddLearner:
            QCOMPARE(visibleControls(), kNameAdded);
            QCOMPARE(fileBytes(QStringLiteral("init.usr")), kRegistry + "B\xE9la\r\n");
            QCOMPARE(fileBytes(QStringLiteral("Béla/Béla.log")), logHeader("B\xE9la"));
            QCOMPARE(QDir(path(QStringLiteral("Béla"))).entryList(QDir::Files | QDir::Hidden | QDir::System),
                     QStringList{QStringLiteral("Béla.log")});
            return;
        case Operation::SaveNewList:
        case Operation::SaveEditedList:
            QCOMPARE(visibleControls(), kMainMenu);
            QCOMPARE(fileBytes(QStringLiteral("Anna/list.szo")),
                     operation == Operation::SaveNewList ? record("1", "plum", "szilva") : kList + kPair);
            QCOMPARE(annasFiles(), (QStringList{QStringLiteral("Anna.log"), QStringLiteral("list.szo")}));
            return;
        case Operation::RecordRun:
        case Operation::RecordRunLogGone:
        case Operation::RecordRunDirectoryGone: {
            QCOMPARE(visibleControls(), kPracticeSetup);
            const QByteArray old = operation == Operation::RecordRun ? kLog : kHeader;
            const QByteArray log = fileBytes(QStringLiteral("Anna/Anna.log"));
            const QByteArray line = log.mid(old.size());
            QCOMPARE(log.left(old.size()), old);
            QCOMPARE(logFiles(), QStringList{QStringLiteral("Anna.log")});
            QVERIFY2(line.startsWith(platform::toCodePage(recordDateTimeText(clock.at, QLocale::system()))
                                     + ",  N\xE9v: Anna,  ")
                         && line.endsWith("\r\n") && line.count("\r\n") == 1,
                     line.constData());
            return;
        }
        case Operation::ShowLog:
            QVERIFY(control<ResultsLogView>("Text12")->toPlainText().startsWith(QStringLiteral("Anna Eredményei:")));
            return;
        case Operation::LoadList:
            QCOMPARE(visibleControls(), kPracticeSetup);
            return;
        case Operation::StartUp:
            QVERIFY(started);
            return;
        }
    }

    Operation operation;
    QSet<QString> screenBefore;
    bool started = false;
};

// An operation that writes, and the families of calls it makes.
struct Writer {
    Operation operation;
    const char *name;
    QByteArrayList needed;   // families the operation must use
    QByteArrayList optional; // families it may use
};

} // namespace

Q_DECLARE_METATYPE(Operation)

class TestFileFaults : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(shim.loaded(), "the fault shim is not preloaded: run this test through ctest, which sets LD_PRELOAD "
                                "to the built libfault_shim.so");
    }

    void cleanup()
    {
        if (shim.loaded())
            shim.clear();
    }

    void everyFailingCall_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QByteArray>("family");
        QTest::addColumn<int>("error");
        QTest::addColumn<long>("failingCalls"); // -1: every later call too
        QTest::addColumn<qint64>("bytesBeforeFailure");
        QTest::addColumn<QByteArray>("alsoFailing"); // a family failing throughout, or none
        QTest::addColumn<bool>("mustFire");          // every sound way of doing the operation makes such calls

        const QByteArrayList files{"open", "write", "fsync", "close"};
        const Writer writers[] = {
            {Operation::AddLearner, "adding a learner", files + QByteArrayList{"mkdir", "read"}, {"rename"}},
            {Operation::SaveNewList, "saving a new list", files + QByteArrayList{"rename"}, {}},
            {Operation::SaveEditedList, "saving an edited list", files + QByteArrayList{"rename"}, {}},
            {Operation::RecordRun, "recording a run", files, {"rename", "mkdir"}},
            {Operation::RecordRunLogGone, "recording a run, log gone", files, {"rename", "mkdir"}},
            {Operation::RecordRunDirectoryGone,
             "recording a run, directory gone",
             files + QByteArrayList{"mkdir"},
             {"rename"}},
        };
        for (const Writer &writer : writers) {
            // Also on a file system without unnamed files (a network share), where new content
            // is staged under a name of its own.
            for (const QByteArray &also : {QByteArray(), QByteArray("tmpfile")}) {
                if (!also.isEmpty() && writer.operation == Operation::RecordRun)
                    continue; // an append stages nothing
                const char *share = also.isEmpty() ? "" : ", no unnamed files";
                for (const bool needed : {true, false}) {
                    for (const QByteArray &family : needed ? writer.needed : writer.optional) {
                        // A full disk stays full; a device may fail a single call.
                        QTest::addRow("%s%s: %s, ENOSPC from then on", writer.name, share, family.constData())
                            << writer.operation << family << ENOSPC << -1L << qint64(0) << also << needed;
                        QTest::addRow("%s%s: %s, EIO once", writer.name, share, family.constData())
                            << writer.operation << family << EIO << 1L << qint64(0) << also << needed;
                    }
                }
                QTest::addRow("%s%s: write part-way", writer.name, share)
                    << writer.operation << QByteArray("write") << ENOSPC << -1L << qint64(3) << also << true;
                // The share carried the step out but its answer was lost.
                for (const QByteArray &family : {QByteArray("rename"), QByteArray("mkdir")}) {
                    if (writer.needed.contains(family) || writer.optional.contains(family))
                        QTest::addRow("%s%s: %s done, EIO once", writer.name, share, family.constData())
                            << writer.operation << family + "-done" << EIO << 1L << qint64(0) << also
                            << writer.needed.contains(family);
                }
            }
        }
        for (const Operation operation : {Operation::SaveEditedList, Operation::RecordRun})
            QTest::addRow("%s: write, EIO from then on",
                          operation == Operation::RecordRun ? "recording a run" : "saving an edited list")
                << operation << QByteArray("write") << EIO << -1L << qint64(0) << QByteArray() << true;
        // A part-way append whose cut-back fails too.
        for (const Operation operation : {Operation::AddLearner, Operation::RecordRun})
            QTest::addRow("%s: write part-way, ftruncate fails",
                          operation == Operation::AddLearner ? "adding a learner" : "recording a run")
                << operation << QByteArray("write") << ENOSPC << -1L << qint64(3) << QByteArray("ftruncate") << true;

        // Another computer saves over the file meanwhile, through a share that removes the old one
        // first: for a moment its name is empty.
        for (const auto &[operation, name] :
             {std::pair(Operation::SaveEditedList, "saving an edited list"),
              std::pair(Operation::LoadList, "loading a list"), std::pair(Operation::StartUp, "start-up")})
            QTest::addRow("%s: the file replaced meanwhile", name)
                << operation << QByteArray("gone") << ENOENT << 1L << qint64(0) << QByteArray() << true;

        const std::pair<Operation, const char *> readers[] = {
            {Operation::ShowLog, "showing the log"},
            {Operation::LoadList, "loading a list"},
            {Operation::StartUp, "start-up"},
        };
        for (const auto &[operation, name] : readers) {
            for (const int error : {EIO, EACCES})
                QTest::addRow("%s: open, %s", name, strerrorname_np(error))
                    << operation << QByteArray("open") << error << 1L << qint64(0) << QByteArray() << true;
            // A share that stays silent past the patience: told, as any failing read.
            if (operation == Operation::StartUp)
                QTest::addRow("%s: open, EIO from then on", name)
                    << operation << QByteArray("open") << EIO << -1L << qint64(0) << QByteArray() << true;
            QTest::addRow("%s: read, EIO", name)
                << operation << QByteArray("read") << EIO << 1L << qint64(0) << QByteArray() << true;
            QTest::addRow("%s: read part-way", name)
                << operation << QByteArray("read") << EIO << 1L << qint64(3) << QByteArray() << true;
        }
    }

    // The n-th call of the family fails (and every later one, or that one alone), for n = 0, 1,
    // 2, … until the operation gets through without meeting the fault.
    void everyFailingCall()
    {
        QFETCH(Operation, operation);
        QFETCH(QByteArray, family);
        QFETCH(int, error);
        QFETCH(long, failingCalls);
        QFETCH(qint64, bytesBeforeFailure);
        QFETCH(QByteArray, alsoFailing);
        QFETCH(bool, mustFire);
        const bool reading = operation >= Operation::ShowLog;
        const bool cutBackFails = alsoFailing == "ftruncate";
        const bool momentary = (error == EIO || family == "gone") && failingCalls == 1;

        bool firedOnce = false;
        bool alsoFired = false;
        for (long call = 0;; ++call) {
            QVERIFY2(call < 200, "the operation never got through");
            const auto where = qScopeGuard([&] {
                if (QTest::currentTestFailed())
                    qWarning("the failing call was %s number %ld", family.constData(), call);
            });
            Scene scene(operation);
            const QByteArray prefix = QFile::encodeName(scene.startDirectory.path());
            QVERIFY(shim.plan(family, error, call, failingCalls, bytesBeforeFailure, prefix) == 0);
            if (!alsoFailing.isEmpty())
                QVERIFY(shim.plan(alsoFailing, cutBackFails ? EIO : EOPNOTSUPP, 0, -1, 0, prefix) == 1);
            scene.perform();
            const bool fired = shim.fired(0) > 0;
            const bool cutBackFailed = cutBackFails && shim.fired(1) > 0;
            alsoFired = alsoFired || shim.fired(1) > 0;
            shim.clear();
            if (!fired) {
                scene.checkSuccess();
                break;
            }
            firedOnce = true;
            // A share's moment of I/O errors is waited out: a read, a list saved and a run recorded
            // get through. Otherwise a read that failed must be reported; a write may have failed
            // after its work was safely done, and then it is a success in full.
            if (momentary && (operation != Operation::AddLearner || family.endsWith("-done")))
                scene.checkSuccess();
            else if (reading || !scene.dialogs.messages().isEmpty())
                scene.checkFailure(cutBackFailed);
            else
                scene.checkSuccess();
            if (QTest::currentTestFailed())
                return;
        }
        if (QTest::currentTestFailed())
            return;
        if (mustFire)
            QVERIFY2(firedOnce, "the operation made no such call");
        if (cutBackFails)
            QVERIFY2(alsoFired, "no part-way append was cut back");
    }

    // A hand-edited registry may name a learner "../x": nothing is ever read or written outside.
    void aNameThatLeadsOutsideStaysInside()
    {
        QTemporaryDir outer;
        const QString start = outer.filePath(QStringLiteral("start"));
        QVERIFY(QDir().mkdir(start));
        writeFile(registryIn(start), "../Anna\r\n");
        writeFile(outer.filePath(QStringLiteral("list.szo")), kList);
        QVERIFY(QDir(outer.path()).mkdir(QStringLiteral("Anna")));
        writeFile(outer.filePath(QStringLiteral("Anna/Anna.log")), kLog);
        // The log's own name "../Anna.log" leads one step further.
        writeFile(outer.filePath(QStringLiteral("Anna.log")), kLog);

        ScriptedDialogs dialogs;
        FixedRandom random;
        FixedClock clock;
        Form1 form(start, dialogs, random, clock);
        QVERIFY(form.Form_Load());
        form.currentUser = QStringLiteral("../Anna");
        form.Eredméynek_Com_Click();
        QCOMPARE(form.findChild<ResultsLogView *>(QStringLiteral("Text12"))->toPlainText(), QString());

        form.Command5_Click();
        dialogs.chooseFile(outer.filePath(QStringLiteral("list.szo")));
        form.Gyak_be_Com2_Click();
        QCOMPARE(dialogs.shown.last().request.startDirectory, start);
        form.Tanul_Com4_Click();
        form.Tanul_Vissza_Comm_Click();
        QCOMPARE(dialogs.messages(), QStringList{QStringLiteral("Ismeretlen hiba!8")});
        QCOMPARE(fileContents(outer.filePath(QStringLiteral("Anna/Anna.log"))), kLog);
        QCOMPARE(fileContents(outer.filePath(QStringLiteral("Anna.log"))), kLog);
        QCOMPARE(QDir(start).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"init.usr"});
    }
};

QTEST_MAIN(TestFileFaults)
#include "test_file_faults.moc"
