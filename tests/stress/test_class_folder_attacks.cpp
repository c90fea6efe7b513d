// SPDX-License-Identifier: GPL-3.0-or-later
// A class folder made as the README makes it, two real accounts of one group: one of them plants
// links, hard links, FIFOs and locks in the folder, the other works there through the real window
// (drive_window) and the teacher runs the class report. Afterwards the victim's home is byte for byte
// what it was, the folder's data is untouched, the window said why, and nothing waited for long.
#include "list_versions.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

const QString kGroup = QStringLiteral("vok-attack");
const QString kVictim = QStringLiteral("vok-victim");
const QString kAttacker = QStringLiteral("vok-attacker");

// Runs a shell command, with $F the class folder, $H the victim's home, $T the teacher's files.
int shell(const QString &command, const QStringList &variables, QByteArray *output = nullptr)
{
    QProcess process;
    QStringList environment = QProcess::systemEnvironment();
    environment += variables;
    process.setEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
    if (!process.waitForFinished(60000))
        process.kill();
    if (output)
        *output = process.readAll();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// Every file under a directory, name and content, links shown as their targets.
QByteArray snapshot(const QString &directory)
{
    QByteArray all;
    QDirIterator it(directory, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QStringList names;
    while (it.hasNext())
        names.append(it.next());
    names.sort();
    for (const QString &name : names) {
        const QFileInfo info(name);
        all += name.toUtf8() + ' ' + info.symLinkTarget().toUtf8() + ' ';
        QFile file(name);
        if (info.isFile() && !info.isSymLink() && file.open(QIODevice::ReadOnly))
            all += QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
        all += '\n';
    }
    return all;
}

} // namespace

class TestClassFolderAttacks : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_home;

    QStringList variables(const QString &folder) const
    {
        return {"F=" + folder, "H=" + m_home, "T=" + m_work.filePath("teacher"), "G=" + kGroup,
                "V=" + kVictim, "A=" + kAttacker, "W=" + m_work.path()};
    }

private slots:
    void initTestCase()
    {
        if (::geteuid() != 0)
            QSKIP("making accounts needs root");
        QVERIFY(m_work.isValid());
        const QStringList none;
        QCOMPARE(shell("getent group $G >/dev/null || groupadd $G; "
                       "for u in $V $A; do getent passwd $u >/dev/null || useradd -m -s /bin/sh -G $G $u; done; "
                       "chmod 755 $W; install -d -m 700 $T; echo TITOK-a-tanarnak > $T/titok; chmod 600 $T/titok",
                       variables(QString())),
                 0);
        m_home = QStringLiteral("/home/") + kVictim;
        QCOMPARE(shell("printf 'alias ls=ls\\n' > $H/.bashrc; printf 'PATH=/bin\\n' > $H/.profile; mkdir -p $H/.config;"
                       "chown -R $V $H; cp " + QCoreApplication::applicationDirPath() + "/drive_window $W/; "
                       "cp " + QStringLiteral(VOKALINDO_REPORT) + " $W/; chmod 755 $W/drive_window $W/vokalindo-report",
                       variables(QString())),
                 0);
    }

    void cleanupTestCase()
    {
        if (::geteuid() == 0)
            shell("pkill -u $A; userdel -r $V 2>/dev/null; userdel -r $A 2>/dev/null; groupdel $G", variables(QString()));
    }

    void plantedLinksLeadNowhere_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("attacker"); // who plants: the attacker's account, or root where only
                                               // a machine without fs.protected_hardlinks would let them
        QTest::addColumn<QString>("attack");
        QTest::addColumn<QString>("work"); // drive_window's operations, or "report"
        QTest::addColumn<QString>("shown");

        const QString log = "rm $F/Anna/Anna.log; ";
        const QString record = "record Anna gyakorlo.szo";
        QTest::addRow("log linked to .bashrc") << "3770" << kAttacker << log + "ln -s $H/.bashrc $F/Anna/Anna.log"
                                               << record << "Ismeretlen hiba!12";
        QTest::addRow("the same, folder 2770") << "2770" << kAttacker << log + "ln -s $H/.bashrc $F/Anna/Anna.log"
                                               << record << "Ismeretlen hiba!12";
        QTest::addRow("log hard-linked") << "3770" << "root" << log + "ln $H/.bashrc $F/Anna/Anna.log" << record
                                         << "Ismeretlen hiba!12";
        QTest::addRow("log linked to a directory") << "3770" << kAttacker << log + "ln -s $H/.config $F/Anna/Anna.log"
                                                   << record << "Ismeretlen hiba!12";
        QTest::addRow("swapped in after start-up") << "3770" << kAttacker << log + "ln -s $H/.bashrc $F/Anna/Anna.log"
                                                   << "wait " + record << "Ismeretlen hiba!12";
        QTest::addRow("learner directory linked to home")
            << "2770" << kAttacker << "mv $F/Anna $F/.elvitt && ln -s $H $F/Anna" << record << "Ismeretlen hiba!12";
        QTest::addRow("registry linked to .bashrc")
            << "2770" << kAttacker << "mv $F/init.usr $F/.elvitt && ln -s $H/.bashrc $F/init.usr" << "add Bela"
            << "A felhasználók listája nem olvasható";
        QTest::addRow("list linked to .profile") << "3770" << kAttacker << "ln -s $H/.profile $F/Anna/hazi.szo"
                                                 << "save Anna Anna/hazi.szo a" << "Ismeretlen hiba!12";
        QTest::addRow("list linked to a directory") << "3770" << kAttacker << "ln -s $H/.config $F/Anna/hazi.szo"
                                                    << "save Anna Anna/hazi.szo a" << "Ismeretlen hiba!12";
        QTest::addRow("teacher's write-protected list")
            << "2770" << "root" << "cp $F/gyakorlo.szo $F/tanar.szo; chmod 644 $F/tanar.szo"
            << "save Anna tanar.szo a" << "Ismeretlen hiba!5";
        QTest::addRow("lock held on the folder") << "3770" << kAttacker << "(flock $F sleep 30 &) ; sleep 0.3"
                                                 << "add Bela" << "Ismeretlen hiba!9";
        QTest::addRow("lock held on init.usr") << "3770" << kAttacker << "(flock $F/init.usr sleep 30 &) ; sleep 0.3"
                                               << "add Bela" << "Ismeretlen hiba!9";
        QTest::addRow("lock held on a log") << "3770" << kAttacker << "(flock $F/Anna/Anna.log sleep 30 &) ; sleep 0.3"
                                            << record << "Ismeretlen hiba!7";
        QTest::addRow("report: log linked to a private file")
            << "3770" << kAttacker << log + "ln -s $T/titok $F/Anna/Anna.log" << "report" << "";
        QTest::addRow("report: log hard-linked to a private file")
            << "3770" << "root" << log + "ln $T/titok $F/Anna/Anna.log" << "report" << "";
        QTest::addRow("report: log a FIFO") << "3770" << kAttacker << log + "mkfifo $F/Anna/Anna.log" << "report"
                                            << "";
        QTest::addRow("report: output linked to a log")
            << "3770" << kAttacker << "ln -s Anna/Anna.log $F/eredmenyek.html" << "report to the folder" << "";
    }
    void plantedLinksLeadNowhere()
    {
        QFETCH(QString, mode);
        QFETCH(QString, attacker);
        QFETCH(QString, attack);
        QFETCH(QString, work);
        QFETCH(QString, shown);

        // The folder as the README makes it, with one learner the victim added and a list to practise.
        const QString folder = m_work.filePath(QString("5a-%1").arg(QTest::currentDataTag()).replace(' ', '-'));
        const QStringList vars = variables(folder);
        QCOMPARE(shell("install -d -m " + mode + " -g $G $F && install -m 0660 -g $G /dev/null $F/init.usr && "
                       "printf 'Anna\\r\\n' > $F/init.usr && install -d -m 2770 -o $V -g $G $F/Anna && "
                       "printf 'Anna Eredm\\351nyei:\\r\\n' > $F/Anna/Anna.log && chown $V:$G $F/Anna/Anna.log && "
                       "chmod 660 $F/Anna/Anna.log",
                       vars),
                 0);
        {
            QFile list(folder + "/gyakorlo.szo");
            QVERIFY(list.open(QIODevice::WriteOnly));
            list.write(listVersion("g").bytes);
        }
        QCOMPARE(shell("chgrp $G $F/gyakorlo.szo; chmod 664 $F/gyakorlo.szo", vars), 0);
        const QByteArray home = snapshot(m_home);
        const QByteArray teacher = snapshot(m_work.filePath("teacher"));

        const bool swapLater = work.startsWith("wait ");
        const QString plant = attacker == "root" ? attack : "runuser -u $A -- sh -c '" + attack + "'";
        if (!swapLater)
            QCOMPARE(shell(plant, vars), 0);
        const QByteArray planted = snapshot(folder);

        QByteArray output;
        QElapsedTimer clock;
        clock.start();
        if (work.startsWith("report")) {
            const QString page = work == "report" ? "$W/oldal.html" : "$F/eredmenyek.html";
            shell("rm -f $W/oldal.html; timeout 30 $W/vokalindo-report --directory $F --output " + page, vars, &output);
            QVERIFY2(clock.elapsed() < 20000, "the report waited on the folder");
            QFile page_(m_work.filePath("oldal.html"));
            if (page_.open(QIODevice::ReadOnly))
                QVERIFY2(!page_.readAll().contains("TITOK"), "a private file reached the page");
        } else {
            // The victim's program: its own account, its own home, the folder's umask.
            const QString victim = "(cd $W && runuser -u $V -- env HOME=$H QT_QPA_PLATFORM=offscreen ./drive_window $F " + work + ")";
            // A swap waits until the window is up, and so has read the folder, before it plants.
            const QString swapped = "rm -f $W/out; { until grep -q ready $W/out 2>/dev/null; do sleep 0.1; done; " + plant
                                    + "; echo go; } | " + victim + " >$W/out 2>&1; cat $W/out";
            shell(swapLater ? swapped : victim, vars, &output);
            QVERIFY2(clock.elapsed() < 20000, "the window waited for a lock for too long");
            QVERIFY2(QString::fromUtf8(output).contains(shown), output.constData());
        }
        shell("pkill -u $A flock; pkill -u $A sleep", vars);

        QCOMPARE(snapshot(m_home), home);
        QCOMPARE(snapshot(m_work.filePath("teacher")), teacher);
        if (!swapLater)
            QCOMPARE(snapshot(folder), planted);
    }
};

QTEST_GUILESS_MAIN(TestClassFolderAttacks)
#include "test_class_folder_attacks.moc"
