// SPDX-License-Identifier: GPL-3.0-or-later
#include "users/user_registry.h"

#include <QTemporaryDir>
#include <QTest>

#include "support/file_helpers.h"

class TestUserRegistry : public QObject {
    Q_OBJECT

private slots:
    void readsNames_data()
    {
        QTest::addColumn<QByteArray>("registry");
        QTest::addColumn<QStringList>("names");
        const QStringList annaBela{QStringLiteral("Anna"), QStringLiteral("Béla")};
        QTest::addRow("empty") << QByteArray() << QStringList();
        QTest::addRow("Anna and Béla") << QByteArray("\x41\x6E\x6E\x61\x0D\x0A\x42\xE9\x6C\x61\x0D\x0A") << annaBela;
        QTest::addRow("blank lines skipped") << QByteArray("\r\nAnna\r\n\r\n\r\nB\xE9la\r\n\r\n") << annaBela;
        QTest::addRow("last line without CR LF") << QByteArray("Anna\r\nB\xE9la") << annaBela;
        QTest::addRow("LF-only lines") << QByteArray("Anna\nB\xE9la\n") << annaBela;
        QTest::addRow("spaces are part of the name")
            << QByteArray(" Kis Anna \r\n") << QStringList{QStringLiteral(" Kis Anna ")};
        QTest::addRow("only a blank line") << QByteArray("\r\n") << QStringList();
    }

    void readsNames()
    {
        QFETCH(QByteArray, registry);
        QFETCH(QStringList, names);
        QCOMPARE(parseUserNames(registry), names);
    }

    void garbageAndLongRegistriesLoad()
    {
        QByteArray many;
        for (int i = 0; i < 10000; ++i)
            many += "Name " + QByteArray::number(i) + "\r\n";
        QCOMPARE(parseUserNames(many).size(), 10000);
        QCOMPARE(parseUserNames(many).last(), QStringLiteral("Name 9999"));

        const QStringList garbage = parseUserNames(QByteArray("\x00\xFF\x81\n\x0E\x01\r\n\xE9", 9));
        QCOMPARE(garbage.size(), 3);
        for (const QString &name : garbage)
            QVERIFY(!name.contains(QLatin1Char('\n')));
    }

    // A registry far past any school's size (a file put there by mistake) loads its whole lines
    // up to the bound and nothing of the line the bound cuts.
    void aHugeRegistryLoadsWithinItsBound()
    {
        QTemporaryDir start;
        QByteArray registry = "Anna\r\n" + QByteArray(kRegistryReadLimit - 10, 'x') + "\r\nBela\r\n";
        writeFile(registryIn(start.path()), registry);
        const std::optional<QStringList> names = readRegistryNames(start.path());
        QVERIFY(names);
        QCOMPARE(names->size(), 2);
        QCOMPARE(names->constFirst(), QStringLiteral("Anna"));

        writeFile(registryIn(start.path()), QByteArray(3 * kRegistryReadLimit, 'x'));
        QCOMPARE(readRegistryNames(start.path()), std::optional<QStringList>(QStringList{}));
    }

    void appendingRebuildsTheFileByteForByte()
    {
        QByteArray registry;
        registry += registryAppendix(registry, QStringLiteral("Anna"));
        registry += registryAppendix(registry, QStringLiteral("Béla"));
        QCOMPARE(registry, QByteArray("\x41\x6E\x6E\x61\x0D\x0A\x42\xE9\x6C\x61\x0D\x0A"));
        QCOMPARE(parseUserNames(registry), (QStringList{QStringLiteral("Anna"), QStringLiteral("Béla")}));
    }

    void appendingAfterALoneCrKeepsBothNames()
    {
        const QByteArray registry("Anna\r");
        QCOMPARE(parseUserNames(registry + registryAppendix(registry, QStringLiteral("Bela"))),
                 (QStringList{QStringLiteral("Anna"), QStringLiteral("Bela")}));
    }

    void appendingAfterAnUnendedLastLineKeepsBothNames()
    {
        const QByteArray registry("Anna");
        QCOMPARE(registryAppendix(registry, QStringLiteral("Béla")), QByteArray("\r\nB\xE9la\r\n"));
        QCOMPARE(parseUserNames(registry + registryAppendix(registry, QStringLiteral("Béla"))),
                 (QStringList{QStringLiteral("Anna"), QStringLiteral("Béla")}));
    }

    void acceptableNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("acceptable");
        QTest::addRow("plain") << QStringLiteral("Anna") << true;
        QTest::addRow("with space and accents") << QStringLiteral("Kis Öröm") << true;
        QTest::addRow("dots inside") << QStringLiteral("a..b") << true;
        QTest::addRow("empty") << QString() << false;
        QTest::addRow("dot") << QStringLiteral(".") << false;
        QTest::addRow("dot dot") << QStringLiteral("..") << false;
        QTest::addRow("slash") << QStringLiteral("../kint") << false;
        QTest::addRow("backslash") << QStringLiteral("a\\b") << false;
        QTest::addRow("outside the code page") << QStringLiteral("Ñandú") << false;
        QTest::addRow("control character") << QStringLiteral("An\x0Ena") << false;
    }

    void acceptableNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, acceptable);
        QCOMPARE(isAcceptableUserName(name), acceptable);
    }
};

QTEST_GUILESS_MAIN(TestUserRegistry)
#include "test_user_registry.moc"
