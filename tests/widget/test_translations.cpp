// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/translations.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

class TestTranslations : public QObject {
    Q_OBJECT

private slots:
    void editMenusSpeakHungarian()
    {
        QVERIFY(installQtHungarianTranslations(*qApp));
        QLineEdit edit;
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList entries;
        for (QAction *action : menu->actions())
            entries.append(action->text());
        QVERIFY2(entries.contains(QStringLiteral("&Beillesztés\tCtrl+V")), qPrintable(entries.join('|')));
    }
};

QTEST_MAIN(TestTranslations)
#include "test_translations.moc"
