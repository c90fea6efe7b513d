// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_directory_setting.h"

#include <QTest>

class TestStartDirectorySetting : public QObject {
    Q_OBJECT
private slots:
    void readsTheClassFolder_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("directory"); // empty: none
        QTest::addRow("the installer's, CR LF")
            << QByteArray("# comment\r\ndirectory=C:\\Users\\Public\\Documents\\Vokalindo\r\n")
            << "C:\\Users\\Public\\Documents\\Vokalindo";
        QTest::addRow("the last line counts, spaces and quotes dropped")
            << QByteArray("directory=/a\n  directory = \"\\\\kiszolgalo\\5a osztály\" \n#directory=/c\n")
            << "\\\\kiszolgalo\\5a osztály";
        QTest::addRow("Windows-1250, as an 8-bit editor saves it")
            << QByteArray("directory=D:\\Oszt\xE1ly\r\n") << QString::fromLocal8Bit("D:\\Oszt\xE1ly");
        QTest::addRow("UTF-16 with its mark") << QByteArray("\xFF\xFE"
                                                            "d\0i\0r\0e\0c\0t\0o\0r\0y\0=\0\x50\x01\n\0",
                                                            26)
                                              << QString(QChar(0x150));
        QTest::addRow("commented out") << QByteArray("#directory=/a\n") << QString();
        QTest::addRow("empty value") << QByteArray("directory=/a\ndirectory=\n") << QString();
        QTest::addRow("another key") << QByteArray("directoryx=/a\nfolder=/b\n") << QString();
    }
    void readsTheClassFolder()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, directory);
        QCOMPARE(configuredStartDirectory(settings).value_or(QString()), directory);
    }
};

QTEST_GUILESS_MAIN(TestStartDirectorySetting)
#include "test_start_directory_setting.moc"
