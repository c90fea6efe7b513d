// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include "support/file_helpers.h"

class TestFiles : public QObject {
    Q_OBJECT

private slots:
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
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
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

    void appendKeepsEarlierBytes()
    {
        QTemporaryDir dir;
        const QString path = registryIn(dir.path());
        writeFile(path, "Anna\r\n");
        QVERIFY(platform::appendToExistingFile(path, "B\xE9la\r\n"));
        QCOMPARE(fileContents(path), QByteArray("Anna\r\nB\xE9la\r\n"));
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
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "test_files.moc"
