// SPDX-License-Identifier: GPL-3.0-or-later
// A disk that is really full: the start directory lies on a small tmpfs, filled up just before the
// operation. The learner is told, the screen stays, and every file keeps its bytes.
#include "support/file_helpers.h"
#include "support/form_harness.h"
#include "support/word_list_bytes.h"

#include <QDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

constexpr qint64 kPage = 4096; // tmpfs gives a file its space a page at a time

const QByteArray kHeader = logHeader("Anna");
const QByteArray kList = record("1", "apple", "alma") + record("2", "pear", "k\xF6rte");

// The bytes, then lines of the given kind until exactly `size` bytes.
QByteArray padded(QByteArray bytes, qint64 size, const QByteArray &line)
{
    for (int number = 0; bytes.size() < size; ++number) {
        const qint64 left = size - bytes.size();
        const qint64 length = left >= 2 * 100 ? 100 : left;
        bytes += (line + QByteArray::number(number)).leftJustified(length - 2, 'x', true) + "\r\n";
    }
    return bytes;
}

// The bytes from a little before where they part from the others': long files differ at their end.
QByteArray fromDifference(const QByteArray &bytes, const QByteArray &others)
{
    qsizetype same = 0;
    while (same < bytes.size() && same < others.size() && bytes[same] == others[same])
        ++same;
    return same == bytes.size() && same == others.size() ? QByteArray() : bytes.mid(std::max<qsizetype>(0, same - 8));
}

enum class Operation { AddLearner, SaveNewList, SaveEditedList, RecordRun };

enum class Space {
    Full,     // not a page left
    OnePage,  // one page left
    NoInodes, // space, but no file or directory can be made
    ReadOnly, // mounted read-only
};

} // namespace

Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(Space)

class TestFullDisk : public QObject {
    Q_OBJECT

    QTemporaryDir mountPoint;
    bool mounted = false;

    QString filler(const QString &name) const { return mountPoint.filePath(name); }

    // Takes the space (or the inodes) the row leaves no more of.
    void fill(Space space)
    {
        if (space == Space::ReadOnly) {
            QCOMPARE(remount(MS_RDONLY), 0);
            return;
        }
        if (space == Space::NoInodes) {
            for (int number = 0;; ++number) {
                const int descriptor = ::open(QFile::encodeName(filler(QStringLiteral("inode-%1").arg(number))),
                                              O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
                if (descriptor < 0) {
                    QCOMPARE(errno, ENOSPC);
                    return;
                }
                ::close(descriptor);
            }
        }
        const int descriptor =
            ::open(QFile::encodeName(filler(QStringLiteral("filler"))), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
        QVERIFY(descriptor >= 0);
        const QByteArray page(kPage, 'f');
        qint64 size = 0;
        for (ssize_t written; (written = ::write(descriptor, page.constData(), page.size())) > 0;)
            size += written;
        QCOMPARE(errno, ENOSPC);
        QCOMPARE(size % kPage, 0);
        if (space == Space::OnePage)
            QCOMPARE(::ftruncate(descriptor, size - kPage), 0);
        ::close(descriptor);
    }

    int remount(unsigned long flags) const
    {
        return ::mount(nullptr, QFile::encodeName(mountPoint.path()).constData(), nullptr,
                       MS_REMOUNT | MS_NOSUID | MS_NODEV | flags, nullptr);
    }

    void emptyTheDisk() const
    {
        remount(0);
        for (const QString &name : QDir(mountPoint.path()).entryList({"filler", "inode-*"}, QDir::Files))
            QFile::remove(filler(name));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mountPoint.isValid());
        if (::geteuid() != 0)
            QSKIP("mounting the small tmpfs that is filled for real needs root");
        if (::mount("vokalindo-full-disk", QFile::encodeName(mountPoint.path()).constData(), "tmpfs",
                    MS_NOSUID | MS_NODEV, "size=512k,nr_inodes=64,mode=0700")
            != 0)
            QFAIL(qPrintable(QStringLiteral("cannot mount a small tmpfs on %1 (%2): this test makes the disk "
                                            "really full and needs root")
                                 .arg(mountPoint.path(), QString::fromLocal8Bit(std::strerror(errno)))));
        mounted = true;
    }

    void cleanupTestCase()
    {
        if (mounted && ::umount2(QFile::encodeName(mountPoint.path()).constData(), 0) != 0)
            ::umount2(QFile::encodeName(mountPoint.path()).constData(), MNT_DETACH);
    }

    void cleanup() { emptyTheDisk(); }

    void nothingIsLost_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<Space>("space");
        QTest::addColumn<QByteArray>("registry");
        QTest::addColumn<QByteArray>("log"); // empty: the log was deleted
        QTest::addColumn<QString>("message");

        // An addition writes the new log's header into the one page left; the registry line then
        // crosses into a page there is no room for, after its first bytes.
        const QByteArray longRegistry = padded("Anna\r\n", kPage - 3, "Tanulo");
        // The record's first 10 bytes fill the log's last page.
        const QByteArray longLog = padded(kHeader, kPage - 10, "2026. 12. 06., 10:00:00,  N\xE9v: Anna,  ");
        const QByteArray log = kHeader + "2026. 12. 06., 10:00:00,  N\xE9v: Anna,  ...\r\n";
        const QString listUnwritten = QStringLiteral("Ismeretlen hiba!5");
        const QString notAdded = QStringLiteral("Ismeretlen hiba!9");
        const QString notRecorded = QStringLiteral("Ismeretlen hiba!7");

        QTest::addRow("saving a new list over an old one")
            << Operation::SaveNewList << Space::Full << QByteArray("Anna\r\n") << log << listUnwritten;
        QTest::addRow("saving an edited list")
            << Operation::SaveEditedList << Space::Full << QByteArray("Anna\r\n") << log << listUnwritten;
        QTest::addRow("adding a learner, disk full")
            << Operation::AddLearner << Space::Full << QByteArray("Anna\r\n") << log << notAdded;
        QTest::addRow("adding a learner, registry line crosses a page")
            << Operation::AddLearner << Space::OnePage << longRegistry << log << notAdded;
        QTest::addRow("adding a learner, no directory can be made")
            << Operation::AddLearner << Space::NoInodes << QByteArray("Anna\r\n") << log << notAdded;
        QTest::addRow("adding a learner, read-only")
            << Operation::AddLearner << Space::ReadOnly << QByteArray("Anna\r\n") << log << notAdded;
        QTest::addRow("saving a list, read-only")
            << Operation::SaveEditedList << Space::ReadOnly << QByteArray("Anna\r\n") << log << listUnwritten;
        QTest::addRow("recording a run, read-only")
            << Operation::RecordRun << Space::ReadOnly << QByteArray("Anna\r\n") << log << notRecorded;
        QTest::addRow("recording a run, record crosses a page")
            << Operation::RecordRun << Space::Full << QByteArray("Anna\r\n") << longLog << notRecorded;
        QTest::addRow("recording a run, log deleted")
            << Operation::RecordRun << Space::Full << QByteArray("Anna\r\n") << QByteArray() << notRecorded;
    }

    void nothingIsLost()
    {
        QFETCH(Operation, operation);
        QFETCH(Space, space);
        QFETCH(QByteArray, registry);
        QFETCH(QByteArray, log);
        QFETCH(QString, message);
        QVERIFY(mounted);

        FormHarness window(registry.constData(), mountPoint.path());
        QVERIFY(QDir(window.startDirectory.path()).mkdir(QStringLiteral("Anna")));
        writeFile(window.path(QStringLiteral("Anna/Anna.log")), log);
        writeFile(window.path(QStringLiteral("Anna/list.szo")), kList);
        QVERIFY(window.start());
        window.pickName(QStringLiteral("Anna"));
        const auto chooseList = [&] { window.dialogs.chooseFile(window.path(QStringLiteral("Anna/list.szo"))); };
        switch (operation) {
        case Operation::AddLearner:
            window.click("Vissza_Com6");
            break;
        case Operation::SaveNewList:
        case Operation::SaveEditedList:
            window.click("Command5");
            if (operation == Operation::SaveEditedList)
                chooseList();
            window.click(operation == Operation::SaveNewList ? "Új_Com1" : "Szerkeszt_Comm");
            window.typeInto("Text1", QStringLiteral("plum"));
            window.typeInto("Text2", QStringLiteral("szilva"));
            window.click("Command3");
            break;
        case Operation::RecordRun:
            window.click("Command5");
            chooseList();
            window.click("Gyak_be_Com2");
            window.click("Tanul_Com4");
            if (log.isEmpty())
                QVERIFY(QFile::remove(window.path(QStringLiteral("Anna/Anna.log"))));
            break;
        }
        // A list stays on its screen; an addition comes back; after a run its setup is shown again.
        QSet<QString> screenAfter = window.visibleControls();

        fill(space);
        if (QTest::currentTestFailed())
            return;
        switch (operation) {
        case Operation::AddLearner:
            window.addLearner(QStringLiteral("Bernad"));
            screenAfter = kUserSelection;
            break;
        case Operation::SaveNewList:
            chooseList();
            window.dialogs.answerYesNo(true);
            window.click("Command1");
            break;
        case Operation::SaveEditedList:
            window.click("Szerk_kész_Comm");
            break;
        case Operation::RecordRun:
            window.click("Tanul_Vissza_Comm");
            screenAfter = kPracticeSetup;
            break;
        }
        QCOMPARE(window.dialogs.messages(), QStringList{message});
        QCOMPARE(window.visibleControls(), screenAfter);
        const auto compareBytes = [&](const char *file, const QByteArray &expected) {
            const QByteArray actual = window.fileBytes(QString::fromUtf8(file));
            QCOMPARE(fromDifference(actual, expected), fromDifference(expected, actual));
        };
        compareBytes("init.usr", registry);
        compareBytes("Anna/list.szo", kList);
        // A deleted log is not made as an empty one or a partial one.
        compareBytes("Anna/Anna.log", log.isEmpty() ? "<missing>" : log);
        const auto entries = [&](const char *directory) {
            return entriesBesideTheLock(window.path(QString::fromUtf8(directory)));
        };
        QCOMPARE(entries("."), (QStringList{QStringLiteral("Anna"), QStringLiteral("init.usr")}));
        QCOMPARE(entries("Anna"), log.isEmpty()
                                      ? QStringList{QStringLiteral("list.szo")}
                                      : (QStringList{QStringLiteral("Anna.log"), QStringLiteral("list.szo")}));

        if (QTest::currentTestFailed() || operation != Operation::AddLearner)
            return;
        // Nothing was left behind: with room again, the same name goes in.
        emptyTheDisk();
        window.addLearner(QStringLiteral("Bernad"));
        QCOMPARE(window.dialogs.messages().size(), 1);
        compareBytes("init.usr", registry + "Bernad\r\n");
        QCOMPARE(window.fileBytes(QStringLiteral("Bernad/Bernad.log")), logHeader("Bernad"));
    }
};

QTEST_MAIN(TestFullDisk)
#include "test_full_disk.moc"
