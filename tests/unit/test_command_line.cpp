// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"
#include "app/translations.h"
#include "platform/folder_group.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installQtHungarianTranslations(*QCoreApplication::instance())); }

    void startsTheWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("directory");
        QTest::addRow("no argument") << QStringList() << QString();
        QTest::addRow("--directory DIR") << QStringList{"--directory", "/srv/5a"} << "/srv/5a";
        QTest::addRow("--directory=DIR") << QStringList{"--directory=/srv/közös mappa"} << "/srv/közös mappa";
        QTest::addRow("-d DIR") << QStringList{"-d", "osztály"} << "osztály";
        QTest::addRow("the last one counts") << QStringList{"-d", "a", "--directory", "b"} << "b";
        QTest::addRow("Qt's own options")
            << QStringList{"-platform",        "xcb",     "-session", "1a2b", "-reverse", "--style=Fusion",
                           "-qwindowgeometry", "640x480", "-d",       "c"}
            << "c";
    }
    void startsTheWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, directory);
        const CommandLineRequest request = readCommandLine(QStringList{"vokalindo"} + arguments);
        QVERIFY(request.start);
        QCOMPARE(request.directory, directory);
        QVERIFY(request.standardOutput.isEmpty());
        QVERIFY(request.standardError.isEmpty());
    }

    void helpAndVersionPrintAndEndWithStatusZero()
    {
        for (const QStringList &arguments : {QStringList{"--help"}, QStringList{"-h"},
                                             QStringList{"--directory", "x", "--help"}, QStringList{"--help", "-v"}}) {
            const CommandLineRequest help = readCommandLine(QStringList{"vokalindo"} + arguments);
            QVERIFY2(!help.start, qPrintable(arguments.join(' ')));
            QCOMPARE(help.exitStatus, 0);
            QVERIFY(help.standardError.isEmpty());
            // Every word Hungarian, Qt's own included; every option described.
            QVERIFY2(help.standardOutput.startsWith("Használat: vokalindo [kapcsolók]"),
                     qPrintable(help.standardOutput));
            for (const char *expected : {"Kapcsolók:", "-d, --directory <mappa>", "-h, --help", "-v, --version",
                                         "Kiírja ezt a súgót, és kilép.", "kezdőmappa"})
                QVERIFY2(help.standardOutput.contains(QString::fromUtf8(expected)), expected);
            QVERIFY(!help.standardOutput.contains("Displays"));
            QVERIFY(!help.standardOutput.contains("--help-all"));
        }
        for (const QString &option : {QStringLiteral("--version"), QStringLiteral("-v")}) {
            const CommandLineRequest version = readCommandLine({"vokalindo", option});
            QVERIFY(!version.start);
            QCOMPARE(version.exitStatus, 0);
            QCOMPARE(version.standardOutput.section('\n', 0, 0), QStringLiteral("vokalindo 1.0"));
            QVERIFY(version.standardOutput.contains("GPL"));
            QVERIFY(version.standardError.isEmpty());
        }
    }

    void refusesWhatItDoesNotKnowWithStatusTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named");
        QTest::addRow("unknown long option") << QStringList{"--directroy", "x"} << "„directroy”";
        QTest::addRow("unknown short option") << QStringList{"-x"} << "„x”";
        QTest::addRow("a misspelt option of Qt's") << QStringList{"-platfrom", "offscreen"} << "„platfrom”";
        QTest::addRow("a stray argument") << QStringList{"osztály"} << "„osztály”";
        QTest::addRow("no value") << QStringList{"--directory"} << "„--directory”";
        QTest::addRow("an empty value") << QStringList{"--directory="} << "--directory";
        QTest::addRow("a value where none is taken") << QStringList{"--version=2"} << "„--version”";
    }
    void refusesWhatItDoesNotKnowWithStatusTwo()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);
        const CommandLineRequest request = readCommandLine(QStringList{"vokalindo"} + arguments);
        QVERIFY(!request.start);
        QCOMPARE(request.exitStatus, 2);
        QVERIFY(request.standardOutput.isEmpty());
        QVERIFY2(request.standardError.startsWith("vokalindo: "), qPrintable(request.standardError));
        QVERIFY2(request.standardError.contains(named), qPrintable(request.standardError));
        QVERIFY(request.standardError.endsWith("vokalindo --help\n"));
    }

    // The class report says what went wrong as the program does: a mistake in the command line with
    // the way to --help and status 2, a file it cannot read or write with why. $T: a scratch folder
    // holding the class folder 5a (with an empty init.usr) and an empty folder "mappa".
    void reportSaysWhatWentWrong_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("named");
        QTest::addRow("unknown option") << QStringList{"--no-such"} << 2 << "no-such";
        QTest::addRow("a stray argument") << QStringList{"osztály"} << 2 << "Ismeretlen argumentum: osztály";
        QTest::addRow("no class folder") << QStringList{"-d", "$T/nincs", "-o", "$T/a.html"} << 1
                                         << "Nem olvasható a tanulók listája: $T/nincs/init.usr (nincs ilyen fájl)";
        QTest::addRow("output in a missing folder") << QStringList{"-d", "$T/5a", "-o", "$T/nincs/a.html"} << 1
                                                    << "A jelentés nem írható ki: $T/nincs/a.html (nincs ilyen mappa)";
        QTest::addRow("a folder as output")
            << QStringList{"-d", "$T/5a", "-o", "$T/mappa"} << 1 << "A jelentés nem írható ki: $T/mappa (ez egy mappa)";
    }
    void reportSaysWhatWentWrong()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, named);
        QTemporaryDir scratch;
        QVERIFY(QDir(scratch.path()).mkpath("5a") && QDir(scratch.path()).mkpath("mappa"));
        QFile registry(scratch.filePath("5a/init.usr"));
        QVERIFY(registry.open(QIODevice::WriteOnly));
        registry.close();
        arguments.replaceInStrings("$T", scratch.path());
        QProcess report;
        report.start(VOKALINDO_REPORT, arguments);
        QVERIFY(report.waitForFinished(60000));
        const QString said = QString::fromUtf8(report.readAllStandardError());
        QVERIFY2(report.exitCode() == status, qPrintable(said));
        QVERIFY2(said.startsWith("vokalindo-report: "), qPrintable(said));
        QVERIFY2(said.contains(named.replace("$T", scratch.path())), qPrintable(said));
        QCOMPARE(said.endsWith("\nA kapcsolók leírása: vokalindo-report --help\n"), status == 2);
        QVERIFY(!QFile::exists(scratch.filePath("a.html")));
    }

    void entersTheStartDirectoryOrNamesIt()
    {
        const QString before = QDir::currentPath();
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString folder = scratch.filePath("közös mappa");
        QVERIFY(QDir().mkdir(folder));

        QCOMPARE(enterStartDirectory(folder), std::nullopt);
        QCOMPARE(QDir::currentPath(), QDir(folder).canonicalPath());

        // Relative to where the program was started; the message names the whole path.
        const std::optional<QString> missing = enterStartDirectory("nincs ilyen");
        QVERIFY(missing);
        QCOMPARE(*missing, QStringLiteral("A megadott mappa nem található: %1/nincs ilyen\r\nA program kilép.")
                               .arg(QDir(folder).canonicalPath()));
        QCOMPARE(QDir::currentPath(), QDir(folder).canonicalPath());

        QFile file(scratch.filePath("init.usr"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const std::optional<QString> notAFolder = enterStartDirectory(file.fileName());
        QVERIFY(notAFolder);
        QVERIFY2(notAFolder->startsWith("A megadott mappa nem nyitható meg: " + file.fileName()),
                 qPrintable(*notAFolder));
        QVERIFY(!QDir(folder).exists("nincs ilyen"));
        QDir::setCurrent(before);
    }

    // Started by hand with --directory on a class's folder, the program still makes files that the
    // group can write; in a folder of one account's own the umask is left alone.
    void aSetGroupIdFolderOpensNewFilesToItsGroup()
    {
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QByteArray shared = QFile::encodeName(scratch.filePath("5a"));
        const QByteArray own = QFile::encodeName(scratch.filePath("sajat"));
        QCOMPARE(::mkdir(shared.constData(), 0700), 0);
        QCOMPARE(::mkdir(own.constData(), 0700), 0);
        QCOMPARE(::chmod(shared.constData(), 02770), 0);

        const mode_t before = ::umask(022);
        platform::openNewFilesToTheFoldersGroup(QFile::decodeName(own));
        const mode_t afterOwn = ::umask(077);
        platform::openNewFilesToTheFoldersGroup(QFile::decodeName(shared));
        const mode_t afterShared = ::umask(before);
        QCOMPARE(afterOwn, mode_t(022));
        QCOMPARE(afterShared, mode_t(007));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
