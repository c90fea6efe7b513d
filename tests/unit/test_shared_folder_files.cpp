// SPDX-License-Identifier: GPL-3.0-or-later
// What the program makes in a folder that a class's group shares: the umask decides the modes (the
// launcher clears its group part there, so the other accounts can write too), and the folder's
// set-group-ID bit gives everything the class's group, down through the learners' directories.
#include "platform/files.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr gid_t kClassGroup = 4242;

struct stat statusOf(const QString &path)
{
    struct stat status {};
    ::lstat(QFile::encodeName(path).constData(), &status);
    return status;
}

} // namespace

class TestSharedFolderFiles : public QObject {
    Q_OBJECT

private slots:
    void madeFilesFollowTheUmaskAndTheFoldersGroup_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<int>("directoryMode");
        QTest::addRow("shared folder, umask 002") << 002 << 0664 << 02775;
        QTest::addRow("shared folder, umask 007") << 007 << 0660 << 02770;
        QTest::addRow("private umask 022") << 022 << 0644 << 02755;
    }
    void madeFilesFollowTheUmaskAndTheFoldersGroup()
    {
        if (::geteuid() != 0)
            QSKIP("giving the folder a group of its own needs root");
        QFETCH(int, mask);
        QFETCH(int, fileMode);
        QFETCH(int, directoryMode);

        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString shared = scratch.filePath("5a");
        QVERIFY(QDir().mkdir(shared));
        QCOMPARE(::chown(QFile::encodeName(shared).constData(), static_cast<uid_t>(-1), kClassGroup), 0);
        QCOMPARE(::chmod(QFile::encodeName(shared).constData(), 02770), 0);

        const mode_t before = ::umask(static_cast<mode_t>(mask));
        // A new list, the same list saved again, a new log, a learner's directory made directly and one
        // made by the staged addition with its log inside.
        const QString list = shared + "/szavak.szo";
        const bool wroteList = platform::writeWholeFileAtomically(list, "1\x0e"
                                                                        "a\x0e"
                                                                        "b\x0e \x0e\r\n");
        const bool rewroteList = platform::writeWholeFileAtomically(list, "1\x0e"
                                                                          "c\x0e"
                                                                          "d\x0e \x0e\r\n");
        const platform::CreateResult log = platform::createFileExclusively(shared + "/Anna.log", "Anna\r\n");
        const platform::MakeDirectoryResult directory = platform::makeDirectory(shared + "/Anna");
        const std::optional<QString> staging = platform::makeStagingDirectory(shared);
        platform::CreateResult stagedLog = platform::CreateResult::Failed;
        platform::MakeDirectoryResult moved = platform::MakeDirectoryResult::Failed;
        if (staging) {
            stagedLog = platform::createFileExclusively(*staging + "/Béla.log", "Béla\r\n");
            moved = platform::moveDirectoryIntoPlace(*staging, shared + "/Béla");
        }
        ::umask(before);

        QVERIFY(wroteList && rewroteList);
        QCOMPARE(log, platform::CreateResult::Created);
        QCOMPARE(directory, platform::MakeDirectoryResult::Created);
        QVERIFY(staging);
        QCOMPARE(stagedLog, platform::CreateResult::Created);
        QCOMPARE(moved, platform::MakeDirectoryResult::Created);

        for (const QString &file : {list, shared + "/Anna.log", shared + "/Béla/Béla.log"}) {
            const struct stat status = statusOf(file);
            QVERIFY2(S_ISREG(status.st_mode), qPrintable(file));
            QCOMPARE(status.st_mode & 07777, static_cast<mode_t>(fileMode));
            QCOMPARE(status.st_gid, kClassGroup);
        }
        for (const QString &made : {shared + "/Anna", shared + "/Béla"}) {
            const struct stat status = statusOf(made);
            QVERIFY2(S_ISDIR(status.st_mode), qPrintable(made));
            QCOMPARE(status.st_mode & 07777, static_cast<mode_t>(directoryMode));
            QCOMPARE(status.st_gid, kClassGroup);
        }
    }
};

QTEST_GUILESS_MAIN(TestSharedFolderFiles)
#include "test_shared_folder_files.moc"
