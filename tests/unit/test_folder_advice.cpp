// SPDX-License-Identifier: GPL-3.0-or-later
// What the teacher's window says of a class folder's set-up, from what it looked at: each fault in
// its own words with the command that mends it, and nothing for a folder set up right.
#include "support/file_helpers.h"

#include "teacher/folder_advice.h"
#include "teacher/teacher_command_line.h"

#include <QTest>

namespace {

platform::EntryAccess directory(unsigned mode, unsigned owner = 0, unsigned group = 50)
{
    platform::EntryAccess entry;
    entry.directory = true;
    entry.mode = mode;
    entry.ownerId = owner;
    entry.ownedByRoot = owner == 0;
    entry.groupId = group;
    entry.owner = owner == 0 ? QStringLiteral("root") : QStringLiteral("anna");
    entry.group = QStringLiteral("osztaly5a");
    return entry;
}

// A class folder as the README sets it up.
FolderSnapshot wellSetUp()
{
    FolderSnapshot snapshot;
    snapshot.directory = QStringLiteral("/srv/5a");
    snapshot.folder = directory(03770);
    snapshot.registry = directory(0660);
    snapshot.registry->directory = false;
    snapshot.lockDirectory = directory(02770);
    snapshot.learners.append({QStringLiteral("Anna"), QStringLiteral("/srv/5a/Anna"), directory(02770, 1001)});
    return snapshot;
}

} // namespace

class TestFolderAdvice : public QObject {
    Q_OBJECT

private slots:
    void saysWhatIsWrongAndHowToMendIt_data()
    {
        QTest::addColumn<FolderSnapshot>("snapshot");
        QTest::addColumn<QStringList>("mentioned"); // a piece of each piece of advice, in order
        QTest::addRow("set up right") << wellSetUp() << QStringList{};
        FolderSnapshot own = wellSetUp();
        own.folder = directory(0700, 1001);
        own.lockDirectory.reset();
        QTest::addRow("one account's own folder: nothing to share") << own << QStringList{};
        FolderSnapshot missing = wellSetUp();
        missing.registryState = platform::PathState::Missing;
        QTest::addRow("no registry") << missing << QStringList{"nincs tanulónévsor"};
        FolderSnapshot closed = wellSetUp();
        closed.registryState = platform::PathState::NotPermitted;
        QTest::addRow("not in the class's group") << closed << QStringList{"usermod -a -G"};
        FolderSnapshot loose = wellSetUp();
        loose.folder = directory(00775);
        QTest::addRow("not set-group-ID, not sticky, open to others")
            << loose << QStringList{"chmod g+s '/srv/5a'", "chmod +t '/srv/5a'", "chmod o-rwx '/srv/5a'"};
        FolderSnapshot registry = wellSetUp();
        registry.registry->mode = 0644;
        QTest::addRow("registry the group cannot write") << registry << QStringList{"chmod 0660 '/srv/5a/init.usr'"};
        FolderSnapshot noLock = wellSetUp();
        noLock.lockDirectory.reset();
        QTest::addRow("no lock directory") << noLock << QStringList{"install -d -m 2770 -g 'osztaly5a'"};
        FolderSnapshot learnersLock = wellSetUp();
        learnersLock.lockDirectory = directory(02770, 1001);
        QTest::addRow("a learner's lock directory") << learnersLock << QStringList{"anna fiókjáé"};
        FolderSnapshot learners = wellSetUp();
        learners.learners[0].access = directory(0755, 1001, 1001);
        platform::EntryAccess link = directory(0777, 1002);
        link.link = true;
        link.directory = false;
        learners.learners.append({QStringLiteral("O'Brien Béla"), QStringLiteral("/srv/5a/O'Brien Béla"), link});
        QTest::addRow("a learner's closed directory, another's link")
            << learners << QStringList{"rm '/srv/5a/O'\\''Brien Béla'", "chgrp -R 'osztaly5a' '/srv/5a/Anna'"};
    }
    void saysWhatIsWrongAndHowToMendIt()
    {
        QFETCH(FolderSnapshot, snapshot);
        QFETCH(QStringList, mentioned);
        const QStringList advice = folderAdvice(snapshot);
        QCOMPARE(advice.size(), mentioned.size());
        for (qsizetype index = 0; index < advice.size(); ++index)
            QVERIFY2(advice[index].contains(mentioned[index]), qPrintable(advice[index]));
    }

    void opensTheFolderAskedForElseTheConfiguredOne_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("folder"); // empty: the program does not start
        const QString root = kOnWindows ? QStringLiteral("C:") : QString();
        QTest::addRow("asked for") << QStringList{"-d", "5a"} << QByteArray("directory=/srv/5b\n")
                                   << root + "/home/t/5a";
        QTest::addRow("configured") << QStringList{} << ("directory=\"" + root.toLatin1() + "/srv/5b\"\n")
                                    << root + "/srv/5b";
        QTest::addRow("neither") << QStringList{} << QByteArray("# nothing\n") << root + "/home/t";
        QTest::addRow("directory without a name") << QStringList{"--directory"} << QByteArray() << "";
        QTest::addRow("unknown option") << QStringList{"--kind"} << QByteArray() << "";
    }
    void opensTheFolderAskedForElseTheConfiguredOne()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, settings);
        QFETCH(QString, folder);
        const TeacherRequest request = readTeacherArguments(QStringList{"vokalindo-tanar"} + arguments);
        QCOMPARE(request.start, !folder.isEmpty());
        if (request.start)
            QCOMPARE(folderToOpen(request, settings, (kOnWindows ? QStringLiteral("C:") : QString()) + "/home/t"),
                     folder);
        else
            QCOMPARE(request.exitStatus, 2);
    }
};

QTEST_APPLESS_MAIN(TestFolderAdvice)
#include "test_folder_advice.moc"
