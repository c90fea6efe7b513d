#include "app/translations.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

class TestTranslations : public QObject {
    Q_OBJECT

private slots:
    void qtsOwnButtonsSpeakHungarian()
    {
        QVERIFY(installQtHungarianTranslations(*qApp));
        QMessageBox box(QMessageBox::Question, QStringLiteral("Vokalindo"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Igen"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Nem"));

        QLineEdit edit;
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList entries;
        for (QAction *action : menu->actions())
            entries.append(action->text());
        QVERIFY2(!entries.join(QLatin1Char('|')).contains(QStringLiteral("Paste")), qPrintable(entries.join('|')));
    }
};

QTEST_MAIN(TestTranslations)
#include "test_translations.moc"
