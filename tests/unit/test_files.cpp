#include "platform/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "support/file_helpers.h"

class TestFiles : public QObject {
    Q_OBJECT

private slots:
    void readsWholeFilesAndRefusesWhatIsNotOne()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.txt"));
        writeFile(path, QByteArray("x\r\ny\0z", 6));
        QCOMPARE(platform::readWholeFile(path), std::optional<QByteArray>(QByteArray("x\r\ny\0z", 6)));
        QCOMPARE(platform::readWholeFile(dir.filePath(QStringLiteral("none"))), std::nullopt);
        QCOMPARE(platform::readWholeFile(dir.path()), std::nullopt);
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

    void appendKeepsEarlierBytes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("init.usr"));
        writeFile(path, "Anna\r\n");
        QVERIFY(platform::appendToExistingFile(path, "B\xE9la\r\n"));
        QCOMPARE(fileContents(path), QByteArray("Anna\r\nB\xE9la\r\n"));
    }

    void appendNeverCreatesAFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("init.usr"));
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
        QCOMPARE(platform::makeDirectory(dir.filePath(QStringLiteral("no/such"))), platform::MakeDirectoryResult::Failed);
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "test_files.moc"
