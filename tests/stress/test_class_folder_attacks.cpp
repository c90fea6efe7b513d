// SPDX-License-Identifier: GPL-3.0-or-later
// A class folder made as the README makes it, two real accounts of one group: one of them plants
// links, hard links, FIFOs, directories of its own and lock entries in the folder, the other works
// there through the real window (drive_window) and the teacher runs the class report and the lists
// tool. Afterwards the victim's home is byte for byte what it was, the folder's data is untouched
// (or the work was done), the window said why, and nothing waited for long.
#include "list_versions.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
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

// Every entry under a directory: its name, a link's target, a file's content's hash.
QByteArray snapshot(const QString &directory)
{
    QByteArray all;
    shell("cd \"$D\" && find . -printf '%p %l\\n' -type f -exec sha256sum {} + | sort", {"D=" + directory}, &all);
    return all;
}

} // namespace

class TestClassFolderAttacks : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_home;

    QStringList variables(const QString &folder) const
    {
        return {"F=" + folder,    "H=" + m_home,       "T=" + m_work.filePath("teacher"), "G=" + kGroup, "V=" + kVictim,
                "A=" + kAttacker, "W=" + m_work.path()};
    }

private slots:
    void initTestCase()
    {
        if (::geteuid() != 0)
            QSKIP("making accounts needs root");
        QVERIFY(m_work.isValid());
        QCOMPARE(shell("getent group $G >/dev/null || groupadd $G; "
                       "for u in $V $A; do getent passwd $u >/dev/null || useradd -m -s /bin/sh -G $G $u; done; "
                       "chmod 755 $W; install -d -m 700 $T; echo TITOK-a-tanarnak > $T/titok; chmod 600 $T/titok",
                       variables(QString())),
                 0);
        m_home = QStringLiteral("/home/") + kVictim;
        QCOMPARE(shell("printf 'alias ls=ls\\n' > $H/.bashrc; printf 'PATH=/bin\\n' > $H/.profile; mkdir -p $H/.config;"
                       "chown -R $V $H; cp "
                           + QCoreApplication::applicationDirPath()
                           + "/drive_window $W/; "
                             "cp "
                           + QStringLiteral(VOKALINDO_REPORT " " VOKALINDO_LISTS)
                           + " $W/; chmod 755 $W/drive_window $W/vokalindo-report $W/vokalindo-lists",
                       variables(QString())),
                 0);
    }

    void cleanupTestCase()
    {
        if (::geteuid() == 0)
            shell("pkill -u $A; userdel -r $V 2>/dev/null; userdel -r $A 2>/dev/null; groupdel $G",
                  variables(QString()));
    }

    void plantedLinksLeadNowhere_data()
    {
        // by: who plants, the attacker's account ("A") or root where only a machine without
        // fs.protected_hardlinks would let them (or to hand the attacker a learner's directory, as
        // adding that name first from the attacker's account does: $O). $L: the victim's log removed
        // first; $K: the lock's directory. work: the window's operations ($R: a practice run recorded;
        // "later" runs the window 90 s ahead, when a lock planted now is a minute old), the report, or
        // a teacher's command. shown: the message ("!N": "Ismeretlen hiba!N"); "" for work done
        // without a message.
        struct Row {
            const char *tag, *mode, *by, *plant, *work, *shown;
        };
        // clang-format off
        static const Row rows[] = {
            {"log linked to .bashrc", "3770", "A", "$L ln -s $H/.bashrc $F/Anna/Anna.log", "$R", "!12"},
            {"the same, folder 2770", "2770", "A", "$L ln -s $H/.bashrc $F/Anna/Anna.log", "$R", "!12"},
            {"log hard-linked", "3770", "root", "$L ln $H/.bashrc $F/Anna/Anna.log", "$R", "!12"},
            {"log linked to a directory", "3770", "A", "$L ln -s $H/.config $F/Anna/Anna.log", "$R", "!12"},
            {"swapped in after start-up", "3770", "A", "$L ln -s $H/.bashrc $F/Anna/Anna.log", "wait $R", "!12"},
            {"learner directory linked to home", "2770", "A", "mv $F/Anna $F/.x && ln -s $H $F/Anna", "$R", "!12"},
            {"registry closed to the account", "3770", "root", "chgrp root $F/init.usr && chmod 640 $F/init.usr",
             "add Bela", "nincs hozzá jogod"},
            {"registry linked to .bashrc", "2770", "A", "mv $F/init.usr $F/.x && ln -s $H/.bashrc $F/init.usr",
             "add Bela", "A felhasználók listája nem olvasható"},
            {"list linked to .profile", "3770", "A", "ln -s $H/.profile $F/Anna/h.szo", "save Anna Anna/h.szo a", "!12"},
            {"list linked to a directory", "3770", "A", "ln -s $H/.config $F/Anna/h.szo", "save Anna Anna/h.szo a", "!12"},
            {"teacher's write-protected list", "2770", "root", "cp $F/gyakorlo.szo $F/t.szo; chmod 644 $F/t.szo",
             "save Anna t.szo a", "!5"},
            {"another computer's turn held", "3770", "A", "mkdir $F/.vokalindo-lock/held && printf \"vokalindo-lock"
             "\\nhost=gep2\\nspace=x\\npid=1\\ntoken=t\\n\" > $F/.vokalindo-lock/held/owner", "add Bela", "!9"},
            {"lock held on init.usr", "3770", "A", "(flock $F/init.usr sleep 30 &); sleep 0.3", "add Bela", "!9"},
            {"lock held on a log", "3770", "A", "(flock $F/Anna/Anna.log sleep 30 &); sleep 0.3", "$R", "!7"},
            {"report: log linked to a private file", "3770", "A", "$L ln -s $T/titok $F/Anna/Anna.log", "report", ""},
            {"report: log hard-linked to a private file", "3770", "root", "$L ln $T/titok $F/Anna/Anna.log", "report", ""},
            {"report: log a FIFO", "3770", "A", "$L mkfifo $F/Anna/Anna.log", "report", ""},
            {"report: output linked to a log", "3770", "A", "ln -s Anna/Anna.log $F/eredmenyek.html", "report here", ""},
            // A classmate's directory vouches for nothing, whatever its mode.
            {"classmate's directory 2775: log linked", "3770", "root", "$O 2775 $F/Anna; runuser -u $A -- sh -c \"$L "
             "ln -s $H/.bashrc $F/Anna/Anna.log\"", "$R", "!12"},
            {"classmate's directory 2755: log linked", "3770", "root", "$O 2755 $F/Anna; runuser -u $A -- sh -c \"$L "
             "ln -s $H/.bashrc $F/Anna/Anna.log\"", "$R", "!12"},
            {"classmate's directory 2755: list linked", "3770", "root", "$O 2755 $F/Anna; runuser -u $A -- "
             "ln -s $H/.profile $F/Anna/lecke1.szo", "save Anna Anna/lecke1.szo a", "!12"},
            {"planted unfinished addition", "3770", "A", "mkdir $F/Carol && printf \"Carol Eredm\\351nyei:\\r\\n\" > "
             "$F/Carol/Carol.log", "add Carol", "A megadott név már létezik"},
            {"lists print into a classmate's folder", "3770", "A", "mkdir -m 2755 $F/ny && ln -s $T/titok $F/ny/x.pdf",
             "vokalindo-lists print $F/gyakorlo.szo --output $F/ny/x.pdf", "Nem írható ki"},
            {"lists export into a classmate's folder", "3770", "A", "mkdir -m 2755 $F/ny && ln -s $T/titok $F/ny/x.csv",
             "vokalindo-lists export $F/gyakorlo.szo --format csv --output $F/ny/x.csv", "Nem írható ki"},
            {"lists import of a classmate's link", "3770", "A", "mkdir -m 2755 $F/ny && ln -s $T/titok $F/ny/j.csv",
             "vokalindo-lists import $F/ny/j.csv --output $F", "Nem olvasható"},
            {"report into a classmate's folder", "3770", "A", "mkdir -m 2755 $F/ny && ln -s $T/titok $F/ny/o.html",
             "vokalindo-report --directory $F --output $F/ny/o.html", "nem írható ide"},
            // The folder lock: anything in its place that is no lock goes at once.
            {"lock a dangling link", "3770", "A", "ln -s /nowhere $K/held", "add Bela", ""},
            {"lock a link to a file", "3770", "A", "ln -s /etc/hostname $K/held", "$R", ""},
            {"lock a link to a directory", "3770", "A", "ln -s $H/proj $K/held", "add Bela", ""},
            {"lock's owner a link to a device", "3770", "A", "mkdir $K/held && ln -s /dev/zero $K/held/owner", "$R", ""},
            {"lock unreadable", "3770", "A", "mkdir -m 700 $K/held && echo x > $K/held/owner", "add Bela", "!9"},
            {"lock unreadable, a minute on", "3770", "A", "mkdir -m 700 $K/held && echo x > $K/held/owner",
             "later add Bela", ""},
            {"lock dated 2035, a minute on", "3770", "A", "mkdir $K/held && printf \"vokalindo-lock\\nhost=gep2"
             "\\nspace=x\\npid=1\\ntoken=t\\n\" > $K/held/owner && touch -d 2035-01-01 $K/held/owner $K/held",
             "later $R", ""},
            {"leftovers that cannot go", "3770", "A", "for i in $(seq 60); do mkdir -p $K/new-$i/x; "
             "touch -d \"1 hour ago\" $K/new-$i; done", "add Bela", ""},
            {"leftover linked to a directory", "3770", "A", "ln -s $H/proj $K/new-x && touch -h -d \"1 hour ago\" $K/new-x",
             "$R", ""},
            // The lock's directory must be the teacher's: a learner's could be closed to the class.
            {"lock directory a learner's", "3770", "root", "rmdir $K && runuser -u $A -- mkdir -m 700 $K", "add Bela",
             "!13"},
            {"lock directory missing", "3770", "root", "rmdir $K", "$R", "!13"},
        };
        // clang-format on
        for (const char *column : {"mode", "attacker", "attack", "work", "shown"})
            QTest::addColumn<QString>(column);
        for (const Row &row : rows)
            QTest::addRow("%s", row.tag) << row.mode << (QLatin1String(row.by) == "A" ? kAttacker : QString(row.by))
                                         << QString(row.plant)
                                                .replace("$L", "rm $F/Anna/Anna.log;")
                                                .replace("$O", "chown -R $A $F/Anna && chmod")
                                                .replace("$K", "$F/.vokalindo-lock")
                                         << QString(row.work).replace("$R", "record Anna gyakorlo.szo")
                                         << QString(row.shown).replace(QRegularExpression("^!"), "Ismeretlen hiba!");
    }
    void plantedLinksLeadNowhere()
    {
        QFETCH(QString, mode);
        QFETCH(QString, attacker);
        QFETCH(QString, attack);
        QFETCH(QString, work);
        QFETCH(QString, shown);

        // The folder as the README makes it, with one learner the victim added and a list to practise.
        const QString folder = m_work.filePath(
            QString("5a-%1").arg(QTest::currentDataTag()).replace(QRegularExpression("[^A-Za-z0-9]"), "-"));
        const QStringList vars = variables(folder);
        QCOMPARE(
            shell("install -d -m " + mode
                      + " -g $G $F && install -d -m 2770 -g $G $F/.vokalindo-lock && "
                        "install -m 0660 -g $G /dev/null $F/init.usr && "
                        "printf 'Anna\\r\\n' > $F/init.usr && install -d -m 2770 -o $V -g $G $F/Anna && "
                        "printf 'Anna Eredm\\351nyei:\\r\\n' > $F/Anna/Anna.log && chown $V:$G $F/Anna/Anna.log && "
                        "chmod 660 $F/Anna/Anna.log && install -d -o $V $H/proj && "
                        "printf 'projekt\\n' > $H/proj/owner && chown $V $H/proj/owner",
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
        QByteArray planting;
        if (!swapLater)
            QVERIFY2(shell(plant, vars, &planting) == 0, planting.constData());
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
        } else if (work.startsWith("vokalindo-")) {
            // The teacher's command, in the teacher's own folder.
            shell("cd $W && timeout 30 ./" + work, vars, &output);
            QVERIFY2(clock.elapsed() < 20000, "the command waited on the folder");
            QVERIFY2(QString::fromUtf8(output).contains(shown), output.constData());
        } else {
            // The victim's program: its own account, its own home, the folder's umask.
            const bool later = work.startsWith("later ");
            const QString victim = "(cd $W && runuser -u $V -- env HOME=$H QT_QPA_PLATFORM=offscreen "
                                   + QString(later ? "NO_FAKE_STAT=1 faketime -f +90s " : "") + "./drive_window $F "
                                   + work.mid(later ? 6 : 0) + ")";
            // A swap waits until the window is up, and so has read the folder, before it plants.
            const QString swapped = "rm -f $W/out; { until grep -q ready $W/out 2>/dev/null; do sleep 0.1; done; "
                                    + plant + "; echo go; } | " + victim + " >$W/out 2>&1; cat $W/out";
            shell(swapLater ? swapped : victim, vars, &output);
            QVERIFY2(clock.elapsed() < 20000, "the window waited for a lock for too long");
            QVERIFY2(QString::fromUtf8(output).contains(shown), output.constData());
            // Work that must be done is done, with no message at all (the file trail may say why).
            if (shown.isEmpty())
                QVERIFY2(QRegularExpression("^done(\t[^\t\n]*){3}\t\t[^\t\n]*$", QRegularExpression::MultilineOption)
                             .match(QString::fromUtf8(output))
                             .hasMatch(),
                         output.constData());
        }
        shell("pkill -u $A flock; pkill -u $A sleep", vars);

        QCOMPARE(snapshot(m_home), home);
        QCOMPARE(snapshot(m_work.filePath("teacher")), teacher);
        if (!swapLater && !shown.isEmpty())
            QCOMPARE(snapshot(folder), planted);
    }
};

QTEST_GUILESS_MAIN(TestClassFolderAttacks)
#include "test_class_folder_attacks.moc"
