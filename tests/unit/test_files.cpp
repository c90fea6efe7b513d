// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dot_lock.h"
#include "platform/files.h"
#include "platform/reserved_names.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "support/file_helpers.h"

// The second program beside these tests (tests/support/file_holder.cpp).
QProcess *startedHolder(QObject *parent, const QStringList &arguments)
{
    auto *holder = new QProcess(parent);
    holder->start(QStringLiteral(FILE_HOLDER), arguments);
    return holder;
}

class TestFiles : public QObject {
    Q_OBJECT

private slots:
    void namesWindowsCannotHold_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::newRow("a learner") << QStringLiteral("Kovács Anna") << false;
        QTest::newRow("a hidden name") << QStringLiteral(".vokalindo-lock") << false;
        QTest::newRow("a device") << QStringLiteral("CON") << true;
        QTest::newRow("a device, small letters, extension") << QStringLiteral("aux.log") << true;
        QTest::newRow("a device, spaces before the extension") << QStringLiteral("NUL .szo") << true;
        QTest::newRow("a numbered device") << QStringLiteral("com7") << true;
        QTest::newRow("a superscript number") << QStringLiteral("LPT") + QChar(0xB9) << true;
        QTest::newRow("no device 0") << QStringLiteral("COM0") << false;
        QTest::newRow("a device's letters in a name") << QStringLiteral("Connie.log") << false;
        QTest::newRow("a trailing dot") << QStringLiteral("Anna.") << true;
        QTest::newRow("a trailing space") << QStringLiteral("Anna ") << true;
        QTest::newRow("a colon") << QStringLiteral("5:a") << true;
        QTest::newRow("a question mark") << QStringLiteral("Ki?") << true;
        QTest::newRow("a control character") << QStringLiteral("a\tb") << true;
    }

    // Refused on Windows as a name the file system cannot hold (the learner hears that it is taken).
    void namesWindowsCannotHold()
    {
        QFETCH(QString, name);
        QFETCH(bool, refused);
        QCOMPARE(platform::isNameWindowsRefuses(name), refused);
    }

    void readsWholeFilesAndRefusesWhatIsNotOne()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.txt"));
        writeFile(path, QByteArray("x\r\ny\0z", 6));
        QCOMPARE(platform::readFileStart(path, 100), std::optional<QByteArray>(QByteArray("x\r\ny\0z", 6)));
        QCOMPARE(platform::readFileStart(dir.filePath(QStringLiteral("none")), 100), std::nullopt);
        QCOMPARE(platform::readFileStart(dir.path(), 100), std::nullopt);
    }

    void atomicWriteReplacesOnlyWhenComplete()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.szo"));
        writeFile(path, "old content");
        QVERIFY(platform::writeWholeFileAtomically(path, "new"));
        QCOMPARE(fileContents(path), QByteArray("new"));

        // The directory is gone: nothing can be written, and nothing is reported as written.
        const QString lost = dir.filePath(QStringLiteral("gone/list.szo"));
        QVERIFY(!platform::writeWholeFileAtomically(lost, "x"));
        // A directory stands where the file would go: the directory is left alone.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken")));
        QVERIFY(!platform::writeWholeFileAtomically(dir.filePath(QStringLiteral("taken")), "x"));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("taken"))).isDir());
    }

    // Only a regular file is ever replaced; a link to one is saved through and stays a link.
    void atomicWriteReplacesRegularFilesOnly()
    {
        if (kOnWindows)
            QSKIP("wine makes no links (CreateSymbolicLinkW reports success and makes nothing) and no FIFOs");
        QTemporaryDir dir;
        const QString real = dir.filePath(QStringLiteral("real.szo"));
        writeFile(real, "old");
        const QString link = dir.filePath(QStringLiteral("link.szo"));
        QVERIFY(QFile::link(real, link));
        QVERIFY(platform::writeWholeFileAtomically(link, "new"));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(fileContents(real), QByteArray("new"));

        const QString dangling = dir.filePath(QStringLiteral("d.szo"));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")), dangling));
        QVERIFY(!platform::writeWholeFileAtomically(dangling, "x"));
        const QString fifo = dir.filePath(QStringLiteral("f.szo"));
        QCOMPARE(QProcess::execute(QStringLiteral("mkfifo"), {fifo}), 0);
        QVERIFY(!platform::writeWholeFileAtomically(fifo, "x"));
        const QString toFifo = dir.filePath(QStringLiteral("n.szo"));
        QVERIFY(QFile::link(fifo, toFifo));
        QVERIFY(!platform::writeWholeFileAtomically(toFifo, "x"));
        QVERIFY(!platform::appendToExistingFile(fifo, "x"));
        QCOMPARE(platform::readFileStart(fifo, 10), std::nullopt);
        QCOMPARE(QFileInfo(fifo).isFile(), false);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 (QStringList{"d.szo", "f.szo", "link.szo", "n.szo", "real.szo"}));
    }

    void exclusiveCreationNeverReplaces()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Anna.log"));
        QCOMPARE(platform::createFileExclusively(path, "first"), platform::CreateResult::Created);
        QCOMPARE(platform::createFileExclusively(path, "second"), platform::CreateResult::AlreadyExists);
        QCOMPARE(fileContents(path), QByteArray("first"));
        QCOMPARE(platform::createFileExclusively(dir.filePath(QString(300, QLatin1Char('a'))), "x"),
                 platform::CreateResult::NameRefused);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Anna.log"});
    }

    void readsStopAtTheirBound()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big"));
        writeFile(path, QByteArray(100000, 'x') + "end");
        QCOMPARE(platform::readFileStart(path, 10)->size(), 10);
        QCOMPARE(platform::readFilePart(path, 100000, 10), std::optional<QByteArray>("end"));
        QCOMPARE(platform::regularFileSize(path), std::optional<qint64>(100003));
    }

    void folderLockIsTakenOverOnlyWhenProvablyStale_data()
    {
        for (const char *column : {"holder", "age", "unchanged"})
            QTest::addColumn<QByteArray>(column);
        QTest::addColumn<bool>("stale");
        // holder: here (this computer, pid 7), gone (this computer, pid 8, which has ended),
        // elsewhere (another computer's pid 8), self (this process), or the text itself.
        QTest::addRow("live here") << QByteArray("here") << QByteArray("5") << QByteArray("3000") << false;
        QTest::addRow("gone here") << QByteArray("gone") << QByteArray("0") << QByteArray("0") << true;
        QTest::addRow("another computer's, fresh")
            << QByteArray("elsewhere") << QByteArray("59") << QByteArray("9000") << false;
        QTest::addRow("another computer's, old")
            << QByteArray("elsewhere") << QByteArray("61") << QByteArray("1000") << true;
        QTest::addRow("old, just seen") << QByteArray("elsewhere") << QByteArray("3600") << QByteArray("10") << false;
        QTest::addRow("this process's own") << QByteArray("self") << QByteArray("0") << QByteArray("9000") << false;
        // Without whole owner's lines: a share's cache may show a lock so while it is being held.
        QTest::addRow("unwritten, long seen") << QByteArray("") << QByteArray("0") << QByteArray("9000") << false;
        QTest::addRow("half written, old")
            << QByteArray("vokalindo-lock\nhost=a\n") << QByteArray("61") << QByteArray("1000") << true;
    }
    void folderLockIsTakenOverOnlyWhenProvablyStale()
    {
        QFETCH(QByteArray, holder);
        QFETCH(QByteArray, age);
        QFETCH(QByteArray, unchanged);
        QFETCH(bool, stale);
        const platform::LockHolder self{"gep1", "boot ns", 5, "t5"};
        const QHash<QByteArray, platform::LockHolder> holders{{"here", {"gep1", "boot ns", 7, "t7"}},
                                                              {"gone", {"gep1", "boot ns", 8, "t8"}},
                                                              {"elsewhere", {"gep2", "boot ns", 8, "t8"}},
                                                              {"self", self}};
        const QByteArray text = holders.contains(holder) ? platform::lockFileText(holders[holder]) : holder;
        const platform::SeenLock seen{platform::parseLockFile(text), age.toLongLong(), unchanged.toLongLong()};
        QCOMPARE(platform::isProvablyStale(seen, self, [](qint64 pid) { return pid == 8; }), stale);
    }
    void folderLockOfAKilledHolderIsTakenOver()
    {
        QTemporaryDir start;
        QProcess *holder = startedHolder(this, {QStringLiteral("lock"), start.path()});
        QVERIFY(holder->waitForFinished(20000));
        QCOMPARE(holder->readAllStandardOutput().trimmed(), QByteArray("ready"));
        QVERIFY(QFile::exists(start.filePath(".vokalindo-lock/held")));
        QElapsedTimer waited;
        waited.start();
        QVERIFY(platform::DotLock(start.path(), std::chrono::milliseconds(500)).held());
        QVERIFY(waited.elapsed() < 500);
        // Released, nothing but the lock's directory is left.
        QCOMPARE(
            QDir(start.filePath(".vokalindo-lock")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
    }
    // Whatever stands in the lock's place or beside it, a turn comes at once and nothing outside the
    // folder is touched; a lock directory that is a link is refused in a folder others may write.
    void folderLockClearsWhatIsNoLock_data()
    {
        QTest::addColumn<QByteArray>("plant"); // a shell command in the lock's directory; $O: a folder outside
        QTest::addColumn<bool>("held");
        QTest::addRow("a dangling link") << QByteArray("ln -s /nowhere held") << true;
        QTest::addRow("a link to a file") << QByteArray("ln -s $O/owner held") << true;
        QTest::addRow("a link to a directory") << QByteArray("ln -s $O held") << true;
        QTest::addRow("a file") << QByteArray("echo x > held") << true;
        QTest::addRow("no owner's lines") << QByteArray("mkdir held") << true;
        QTest::addRow("owner a link to a device") << QByteArray("mkdir held && ln -s /dev/zero held/owner") << true;
        QTest::addRow("owner a FIFO") << QByteArray("mkdir held && mkfifo held/owner") << true;
        QTest::addRow("owner a directory") << QByteArray("mkdir -p held/owner/x") << true;
        QTest::addRow("old leftovers that cannot go")
            << QByteArray("for i in $(seq 300); do mkdir -p new-$i/x; touch -d '1 hour ago' new-$i; done") << true;
        QTest::addRow("an old leftover linked outside")
            << QByteArray("ln -s $O new-x && ln -s $O stale-y && touch -h -d '1 hour ago' new-x stale-y") << true;
        QTest::addRow("the lock's directory a link, folder shared")
            << QByteArray("cd .. && rmdir .vokalindo-lock && ln -s $O .vokalindo-lock && chmod 777 .") << false;
    }
    void folderLockClearsWhatIsNoLock()
    {
        if (kOnWindows)
            QSKIP("planted with a POSIX shell, and wine makes no links");
        QFETCH(QByteArray, plant);
        QFETCH(bool, held);
        QTemporaryDir start, outside;
        writeFile(outside.filePath("owner"), "kint");
        QVERIFY(QDir(start.path()).mkdir(".vokalindo-lock"));
        QProcess shell;
        shell.setWorkingDirectory(start.filePath(".vokalindo-lock"));
        shell.setProcessEnvironment([&] {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("O", outside.path());
            return environment;
        }());
        shell.start("sh", {"-c", plant});
        QVERIFY(shell.waitForFinished() && shell.exitCode() == 0);
        QElapsedTimer waited;
        waited.start();
        const platform::DotLock lock(start.path(), std::chrono::milliseconds(2000));
        QCOMPARE(lock.held(), held);
        QCOMPARE(lock.failure(), held ? platform::LockFailure::None : platform::LockFailure::NotTheTeachers);
        QVERIFY2(waited.elapsed() < 1500, QByteArray::number(waited.elapsed()));
        QCOMPARE(QDir(outside.path()).entryList(QDir::Files), QStringList{"owner"});
        QCOMPARE(fileContents(outside.filePath("owner")), QByteArray("kint"));
    }

    // A file another computer has open: Windows refuses to replace it while it is, so the write waits
    // for it a moment and past that fails with the old content whole; Linux replaces it at once.
    void replacementWaitsForAFileHeldOpenElsewhere_data()
    {
        QTest::addColumn<int>("heldMs");
        QTest::addColumn<bool>("replaced");
        QTest::addRow("held for a moment") << 300 << true;
        QTest::addRow("held past the wait") << 6000 << !kOnWindows;
    }
    void replacementWaitsForAFileHeldOpenElsewhere()
    {
        QFETCH(int, heldMs);
        QFETCH(bool, replaced);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.szo"));
        writeFile(path, "old content");
        QProcess *holder = startedHolder(this, {QStringLiteral("hold"), path, QString::number(heldMs)});
        QVERIFY(holder->waitForReadyRead(20000));
        QCOMPARE(platform::writeWholeFileAtomically(path, "new"), replaced);
        QCOMPARE(fileContents(path), replaced ? QByteArray("new") : QByteArray("old content"));
        QVERIFY(holder->waitForFinished(20000));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.szo"});
    }

    // Two programs creating the same names at once: each name is made once, by one of them, whole.
    void exclusiveCreationRacedByTwoProcesses()
    {
        QTemporaryDir dir;
        constexpr int kNames = 300;
        QProcess *first = startedHolder(this, {QStringLiteral("create"), dir.path(), QString::number(kNames)});
        QProcess *second = startedHolder(this, {QStringLiteral("create"), dir.path(), QString::number(kNames)});
        QVERIFY(first->waitForStarted() && second->waitForStarted());
        const QByteArrayList marks{QByteArray::number(first->processId()), QByteArray::number(second->processId())};
        QVERIFY(first->waitForFinished(60000) && second->waitForFinished(60000));
        QCOMPARE(first->readAllStandardOutput().trimmed().toInt() + second->readAllStandardOutput().trimmed().toInt(),
                 kNames);
        const QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(names.size(), kNames);
        for (const QString &name : names)
            QVERIFY2(marks.contains(fileContents(dir.filePath(name))), qPrintable(name));
    }

    void appendKeepsEarlierBytes()
    {
        QTemporaryDir dir;
        const QString path = registryIn(dir.path());
        writeFile(path, "Anna\r\n");
        QVERIFY(platform::appendToExistingFile(path, "B\xE9la\r\n"));
        QCOMPARE(fileContents(path), QByteArray("Anna\r\nB\xE9la\r\n"));
    }

    // A disk that fills during an append: the part that was written is cut away again, so the file
    // ends where it did. Run on a small disk of its own (tests/faults/on_small_disk.sh).
    void appendIsCutBackWhenTheDiskFills()
    {
        const QString disk = qEnvironmentVariable("VOKALINDO_SMALL_DISK");
        if (disk.isEmpty())
            QSKIP("needs a small file system to fill, which on_small_disk.sh mounts");
        const QString path = disk + QStringLiteral("/Anna.log");
        writeFile(path, "Anna Eredm\xE9nyei:\r\n");
        QFile filler(disk + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        // Filled but for a few kilobytes, so that the append begins and cannot end.
        while (filler.write(QByteArray(4096, 'x')) == 4096 && filler.flush())
            ;
        filler.close();
        QVERIFY(filler.resize(filler.size() - 8192));
        QVERIFY(!platform::appendToExistingFile(path, QByteArray(65536, 'r')));
        QCOMPARE(fileContents(path), QByteArray("Anna Eredm\xE9nyei:\r\n"));
        QVERIFY(filler.remove());
        QVERIFY(platform::appendToExistingFile(path, "x\r\n"));
        QCOMPARE(fileContents(path), QByteArray("Anna Eredm\xE9nyei:\r\nx\r\n"));
    }

    void appendNeverCreatesAFile()
    {
        QTemporaryDir dir;
        const QString path = registryIn(dir.path());
        QVERIFY(!platform::appendToExistingFile(path, "Anna\r\n"));
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("init.usr")));
        QVERIFY(!platform::appendToExistingFile(path, "Anna\r\n"));
    }

    void makeDirectoryTellsWhatHappened()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Anna"));
        QCOMPARE(platform::makeDirectory(path), platform::MakeDirectoryResult::Created);
        QCOMPARE(platform::makeDirectory(path), platform::MakeDirectoryResult::AlreadyExists);
        writeFile(dir.filePath(QStringLiteral("file")), "x");
        QCOMPARE(platform::makeDirectory(dir.filePath(QStringLiteral("file"))),
                 platform::MakeDirectoryResult::AlreadyExists);
        QCOMPARE(platform::makeDirectory(dir.filePath(QStringLiteral("no/such"))),
                 platform::MakeDirectoryResult::Failed);
        // A name Windows cannot hold is refused there before anything is made.
        if (kOnWindows) {
            QCOMPARE(platform::makeDirectory(dir.filePath(QStringLiteral("AUX"))),
                     platform::MakeDirectoryResult::NameRefused);
            QCOMPARE(platform::createFileExclusively(dir.filePath(QStringLiteral("con.log")), "x"),
                     platform::CreateResult::NameRefused);
            QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                     (QStringList{"Anna", "file"}));
        }
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "test_files.moc"
