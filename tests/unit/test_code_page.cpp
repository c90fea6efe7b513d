#include "app/stored_text.h"
#include "platform/code_page.h"

#include <QTest>

class TestCodePage : public QObject {
    Q_OBJECT

private slots:
    void hungarianLettersAreOneByteEach()
    {
        const QString letters = QStringLiteral("áéíóöőúüűÁÉÍÓÖŐÚÜŰ");
        const QByteArray bytes = platform::toCodePage(letters);
        QCOMPARE(bytes, QByteArray("\xE1\xE9\xED\xF3\xF6\xF5\xFA\xFC\xFB\xC1\xC9\xCD\xD3\xD6\xD5\xDA\xDC\xDB"));
        QCOMPARE(platform::fromCodePage(bytes), letters);
    }

    void storableCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("storable");
        QTest::addRow("Hungarian name") << QStringLiteral("Kis Béla Őrző") << true;
        QTest::addRow("punctuation") << QStringLiteral("a-b, c. (d)!") << true;
        QTest::addRow("n with tilde") << QStringLiteral("señor") << false;
        QTest::addRow("emoji") << QStringLiteral("alma 🍎") << false;
        QTest::addRow("field separator") << QStringLiteral("a\x0E" "b") << false;
        QTest::addRow("tab") << QStringLiteral("a\tb") << false;
        QTest::addRow("line feed") << QStringLiteral("a\nb") << false;
        QTest::addRow("Cyrillic") << QStringLiteral("Анна") << false;
    }

    void storableCharacters()
    {
        QFETCH(QString, text);
        QFETCH(bool, storable);
        QCOMPARE(isStorableText(text), storable);
        if (storable)
            QCOMPARE(platform::fromCodePage(platform::toCodePage(text)), text);
    }

    void storablePartKeepsTheRest()
    {
        QCOMPARE(storablePart(QStringLiteral("al\tma🍎ñ é")), QStringLiteral("alma é"));
    }
};

QTEST_GUILESS_MAIN(TestCodePage)
#include "test_code_page.moc"
