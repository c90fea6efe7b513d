// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/code_page.h"
#include "platform/stored_text.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

#include "support/file_helpers.h"

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

    // The table against the system's converter for the same code page: every byte reads as the
    // same character, and every character the converter round-trips is held and written the same.
    void agreesWithTheSystemConverter()
    {
        QStringDecoder decoder("windows-1250");
        QStringEncoder encoder("windows-1250");
        if (kOnWindows && !decoder.isValid())
            QSKIP("Qt for Windows is built without ICU, the converter this is compared with");
        QVERIFY(decoder.isValid() && encoder.isValid());
        for (int byte = 0; byte < 256; ++byte) {
            const QByteArray encoded(1, char(byte));
            const QString decoded = decoder.decode(encoded);
            QCOMPARE(platform::fromCodePage(encoded), decoded);
        }
        for (int code = 0; code < 0x10000; ++code) {
            const QChar character{char16_t(code)};
            if (character.isSurrogate())
                continue;
            const QByteArray viaConverter = encoder.encode(QString(character));
            const bool roundTrips = viaConverter.size() == 1 && decoder.decode(viaConverter) == QString(character);
            QCOMPARE(platform::codePageHolds(character), roundTrips);
            if (roundTrips)
                QCOMPARE(platform::toCodePage(QString(character)), viaConverter);
        }
    }

    void unheldCharactersBecomeOneQuestionMarkEach()
    {
        QCOMPARE(platform::toCodePageOrQuestionMark(QStringLiteral("ñé🍎a")), QByteArray("?\xE9?a"));
        // The bytes the code page leaves undefined still come back as they were.
        QCOMPARE(platform::toCodePage(platform::fromCodePage("\x81\x98")), QByteArray("\x81\x98"));
    }

    void storableCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("storable");
        QTest::addRow("Hungarian name") << QStringLiteral("Kis Béla Őrző") << true;
        QTest::addRow("punctuation") << QStringLiteral("a-b, c. (d)!") << true;
        QTest::addRow("n with tilde") << QStringLiteral("señor") << false;
        QTest::addRow("emoji") << QStringLiteral("alma 🍎") << false;
        QTest::addRow("field separator") << QStringLiteral("a\x0E"
                                                           "b")
                                         << false;
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

    void storablePartKeepsTheRest() { QCOMPARE(storablePart(QStringLiteral("al\tma🍎ñ é")), QStringLiteral("alma é")); }
};

QTEST_GUILESS_MAIN(TestCodePage)
#include "test_code_page.moc"
