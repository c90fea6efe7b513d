// SPDX-License-Identifier: GPL-3.0-or-later
#include "users/add_user.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "support/file_helpers.h"
#include "support/root_account.h"

namespace {

QStringList entries(const QTemporaryDir &dir)
{
    return entriesBesideTheLock(dir.path());
}

} // namespace

Q_DECLARE_METATYPE(AddUserOutcome)

class TestAddUser : public QObject {
    Q_OBJECT

private slots:
    void addsDirectoryLogAndRegistryLine()
    {
        QTemporaryDir start;
        writeFile(registryIn(start.path()), "Anna\r\n");
        QCOMPARE(addUser(start.path(), QStringLiteral("Kis Anna")), AddUserOutcome::Added);
        QCOMPARE(fileContents(registryIn(start.path())), QByteArray("Anna\r\nKis Anna\r\n"));
        QCOMPARE(fileContents(start.filePath(QStringLiteral("Kis Anna/Kis Anna.log"))), logHeader("Kis Anna"));
        QCOMPARE(QDir(start.filePath(QStringLiteral("Kis Anna"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("Kis Anna.log")});
    }

    void accentedNameIsStoredInTheCodePage()
    {
        QTemporaryDir start;
        writeFile(registryIn(start.path()), "");
        QCOMPARE(addUser(start.path(), QStringLiteral("Béla")), AddUserOutcome::Added);
        QCOMPARE(fileContents(registryIn(start.path())), QByteArray("B\xE9la\r\n"));
        QCOMPARE(fileContents(start.filePath(QStringLiteral("Béla/Béla.log"))), logHeader("B\xE9la"));
    }

    void existingEntryIsRefusedAndNothingWritten_data()
    {
        QTest::addColumn<bool>("entryIsDirectory");
        QTest::addRow("directory") << true;
        QTest::addRow("file") << false;
    }

    void existingEntryIsRefusedAndNothingWritten()
    {
        QFETCH(bool, entryIsDirectory);
        QTemporaryDir start;
        writeFile(registryIn(start.path()), "B\xE9la\r\n");
        if (entryIsDirectory)
            QVERIFY(QDir(start.path()).mkdir(QStringLiteral("Anna")));
        else
            writeFile(start.filePath(QStringLiteral("Anna")), "x");
        const QStringList before = entries(start);
        QCOMPARE(addUser(start.path(), QStringLiteral("Anna")), AddUserOutcome::NameTaken);
        QCOMPARE(fileContents(registryIn(start.path())), QByteArray("B\xE9la\r\n"));
        QCOMPARE(entries(start), before);
    }

    void namesThatWouldLeaveTheStartDirectoryAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addRow("dot") << QStringLiteral(".");
        QTest::addRow("dot dot") << QStringLiteral("..");
        QTest::addRow("slash") << QStringLiteral("../kint");
        QTest::addRow("nested") << QStringLiteral("a/b");
        QTest::addRow("backslash") << QStringLiteral("a\\b");
    }

    void namesThatWouldLeaveTheStartDirectoryAreRefused()
    {
        QFETCH(QString, name);
        QTemporaryDir parent;
        QVERIFY(QDir(parent.path()).mkdir(QStringLiteral("start")));
        const QString start = parent.filePath(QStringLiteral("start"));
        writeFile(registryIn(start), "Anna\r\n");
        QCOMPARE(addUser(start, name), AddUserOutcome::NameTaken);
        QCOMPARE(QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"start"});
        QCOMPARE(QDir(start).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"init.usr"});
        QCOMPARE(fileContents(registryIn(start)), QByteArray("Anna\r\n"));
    }

    void failedAdditionLeavesNothingSoTheNameCanBeAddedLater_data()
    {
        QTest::addColumn<bool>("registryIsDirectory");
        QTest::addRow("registry replaced by a directory") << true;
        QTest::addRow("registry deleted") << false;
    }

    void failedAdditionLeavesNothingSoTheNameCanBeAddedLater()
    {
        QFETCH(bool, registryIsDirectory);
        QTemporaryDir start;
        const QString registry = registryIn(start.path());
        if (registryIsDirectory)
            QVERIFY(QDir(start.path()).mkdir(QStringLiteral("init.usr")));

        QCOMPARE(addUser(start.path(), QStringLiteral("Anna")), AddUserOutcome::WriteFailed);
        QVERIFY(!QFileInfo::exists(start.filePath(QStringLiteral("Anna"))));
        QCOMPARE(QFileInfo(registry).isDir(), registryIsDirectory);

        if (registryIsDirectory)
            QVERIFY(QDir(start.path()).rmdir(QStringLiteral("init.usr")));
        writeFile(registry, "B\xE9la\r\n");
        QCOMPARE(addUser(start.path(), QStringLiteral("Anna")), AddUserOutcome::Added);
        QCOMPARE(fileContents(registry), QByteArray("B\xE9la\r\nAnna\r\n"));
    }

    // What a killed addition can leave never blocks the name; what a learner or a person made does.
    void leftoversOfAKilledAdditionDoNotBlockTheName_data()
    {
        QTest::addColumn<QByteArray>("registry");
        QTest::addColumn<QStringList>("entries"); // "Anna/" a directory, anything else a file with the header
        QTest::addColumn<AddUserOutcome>("outcome");
        const AddUserOutcome added = AddUserOutcome::Added, taken = AddUserOutcome::NameTaken;
        QTest::addRow("killed while staging")
            << QByteArray() << QStringList{".vokalindo-abcdefgh.tmp/Anna.log"} << added;
        QTest::addRow("killed before the registry line") << QByteArray() << QStringList{"Anna/Anna.log"} << added;
        QTest::addRow("killed while writing on a share")
            << QByteArray() << QStringList{"Anna/Anna.log", "Anna/.vokalindo-abcdefgh.tmp"} << added;
        QTest::addRow("an empty directory") << QByteArray() << QStringList{"Anna/"} << taken;
        QTest::addRow("more than the log in it") << QByteArray() << QStringList{"Anna/Anna.log", "Anna/x.szo"} << taken;
        QTest::addRow("listed, directory deleted") << QByteArray("Anna\r\n") << QStringList{} << taken;
    }

    void leftoversOfAKilledAdditionDoNotBlockTheName()
    {
        QFETCH(QByteArray, registry);
        QFETCH(QStringList, entries);
        QFETCH(AddUserOutcome, outcome);
        QTemporaryDir start;
        writeFile(registryIn(start.path()), registry);
        for (const QString &entry : entries) {
            QVERIFY(QDir(start.path()).mkpath(QFileInfo(start.filePath(entry)).path()));
            if (!entry.endsWith(QLatin1Char('/')))
                writeFile(start.filePath(entry), logHeader("Anna"));
        }
        QCOMPARE(addUser(start.path(), QStringLiteral("Anna")), outcome);
        QCOMPARE(fileContents(registryIn(start.path())),
                 outcome == AddUserOutcome::Added ? registry + "Anna\r\n" : registry);
        if (outcome == AddUserOutcome::Added)
            QCOMPARE(fileContents(start.filePath(QStringLiteral("Anna/Anna.log"))), logHeader("Anna"));
    }

    // A killed addition's staging directory goes once it is an hour old, if it is this account's.
    void staleStagingDirectoriesOfThisAccountAreTidied()
    {
        if (!runsAsRoot())
            QSKIP("giving a directory to another account needs root and a POSIX shell");
        QTemporaryDir start;
        writeFile(registryIn(start.path()), "");
        QCOMPARE(QProcess::execute("sh", {"-c",
                                          "cd \"$0\" && for d in oldOurs1 newOurs1 oldTheir; do mkdir .vokalindo-$d.tmp"
                                          " && echo x >.vokalindo-$d.tmp/x.log; done && touch -d '2 hours ago' "
                                          ".vokalindo-old*.tmp && chown 4242 .vokalindo-oldTheir.tmp",
                                          start.path()}),
                 0);
        QCOMPARE(addUser(start.path(), QStringLiteral("Anna")), AddUserOutcome::Added);
        QCOMPARE(entries(start),
                 (QStringList{".vokalindo-newOurs1.tmp", ".vokalindo-oldTheir.tmp", "Anna", "init.usr"}));
    }

    void registryWithUnendedLastLineKeepsEveryName()
    {
        QTemporaryDir start;
        writeFile(registryIn(start.path()), "Anna");
        QCOMPARE(addUser(start.path(), QStringLiteral("Béla")), AddUserOutcome::Added);
        QCOMPARE(fileContents(registryIn(start.path())), QByteArray("Anna\r\nB\xE9la\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestAddUser)
#include "test_add_user.moc"
