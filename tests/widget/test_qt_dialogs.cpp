// SPDX-License-Identifier: GPL-3.0-or-later
// The real dialogs: the program's title, Hungarian buttons, the answers they return.
#include "app/translations.h"
#include "platform/qt_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Acts on the modal dialog once it is up, from inside its own event loop.
template <typename Dialog>
void whenShown(std::function<void(Dialog *)> act)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(dialog);
        }
    });
    poll->start(10);
}

} // namespace

class TestQtDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(installQtHungarianTranslations(*qApp));
        window.show();
        dialogs.setParentWindow(&window);
    }

    void messageCarriesTheTitleAndBreaksLines()
    {
        QString title, text;
        QStringList buttons;
        whenShown<QMessageBox>([&](QMessageBox *box) {
            title = box->windowTitle();
            text = box->text();
            for (QAbstractButton *button : box->buttons())
                buttons.append(button->text());
            box->button(QMessageBox::Ok)->click();
        });
        dialogs.message(QStringLiteral("Verzió: 1.0\r\nDátum: 2004.11.28.\r\n"));
        QCOMPARE(title, QStringLiteral("Vokalindo"));
        QCOMPARE(text, QStringLiteral("Verzió: 1.0\nDátum: 2004.11.28."));
        QCOMPARE(buttons.size(), 1);
    }

    void questionAnswersYesOrNo_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addRow("Igen") << true;
        QTest::addRow("Nem") << false;
    }

    void questionAnswersYesOrNo()
    {
        QFETCH(bool, yes);
        QString title;
        QStringList buttons;
        whenShown<QMessageBox>([&](QMessageBox *box) {
            title = box->windowTitle();
            for (QAbstractButton *button : box->buttons())
                buttons.append(button->text().remove(QLatin1Char('&')));
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        QCOMPARE(dialogs.askYesNo(QStringLiteral("Felülírjam?")), yes);
        QCOMPARE(title, QStringLiteral("Vokalindo"));
        buttons.sort();
        QCOMPARE(buttons, (QStringList{QStringLiteral("Igen"), QStringLiteral("Nem")}));
    }

    void fileDialogsStartWhereAskedAndTellCancel()
    {
        QTemporaryDir dir;
        const platform::FileDialogRequest request{dir.path(), QStringLiteral("Szójegyzék fájlok"),
                                                  QStringLiteral("*.szo"), QStringLiteral("szo")};
        QString directory;
        whenShown<QFileDialog>([&](QFileDialog *dialog) {
            directory = dialog->directory().absolutePath();
            dialog->reject();
        });
        QCOMPARE(dialogs.chooseFileToOpen(request), std::nullopt);
        QCOMPARE(directory, QDir(dir.path()).absolutePath());

        whenShown<QFileDialog>([&](QFileDialog *dialog) {
            // A name typed without its extension, as a person would.
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("allatok"));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QCOMPARE(dialogs.chooseFileToSave(request),
                 std::optional<QString>(dir.filePath(QStringLiteral("allatok.szo"))));
    }

private:
    QWidget window;
    platform::QtDialogs dialogs{QStringLiteral("Vokalindo")};
};

QTEST_MAIN(TestQtDialogs)
#include "test_qt_dialogs.moc"
