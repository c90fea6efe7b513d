// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/form_harness.h"

#include "support/file_helpers.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace {

// Every control of the window, by object name.
const char *const kControlNames[] = {
    "Command2",
    "Command6",
    "Combo1",
    "Command4",
    "Text11",
    "Command5",
    "Vissza_Com6",
    "Eredméynek_Com",
    "Label12",
    "Label11",
    "Név_vált_Com",
    "Text12",
    "Eredm_Kilép_Com",
    "Új_Com1",
    "Szerkeszt_Comm",
    "Gyak_be_Com2",
    "MSFlexGrid1",
    "Label1",
    "Text1",
    "Label2",
    "Text2",
    "Label8",
    "Text6",
    "Frame1",
    "Label10",
    "Option4",
    "Option5",
    "Command3",
    "Vissza_Com4",
    "Command1",
    "Szerk_kész_Comm",
    "Text3",
    "Vissza_no_mentComm",
    "Label3",
    "Label4",
    "Option1",
    "Option2",
    "Option3",
    "Tanul_Com4",
    "Label5",
    "Text4",
    "Label6",
    "Text5",
    "Label7",
    "Text9",
    "Label9",
    "Text10",
    "Text7",
    "Text8",
    "Mehet_Comm",
    "Megmutat_Comm",
    "Tanul_Vissza_Comm",
};

} // namespace

FormHarness::FormHarness(const char *registry, const QString &parentDirectory)
    : startDirectory(parentDirectory.isEmpty() ? QDir::tempPath() + QStringLiteral("/start-XXXXXX")
                                               : parentDirectory + QStringLiteral("/start-XXXXXX"))
{
    if (!startDirectory.isValid())
        qFatal("cannot make a start directory");
    if (registry) {
        QFile file(path(QStringLiteral("init.usr")));
        if (!file.open(QIODevice::WriteOnly) || file.write(registry) != qint64(qstrlen(registry)))
            qFatal("cannot write init.usr");
    }
    form = std::make_unique<Form1>(startDirectory.path(), dialogs, random, clock);
}

bool FormHarness::start()
{
    if (!form->Form_Load())
        return false;
    form->show();
    QApplication::setActiveWindow(form.get());
    return QTest::qWaitForWindowActive(form.get());
}

QString FormHarness::path(const QString &relative) const
{
    return startDirectory.filePath(relative);
}

QByteArray FormHarness::fileBytes(const QString &relative) const
{
    return fileContents(path(relative));
}

void FormHarness::click(const char *name) const
{
    QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
}

void typeText(QWidget *widget, const QString &text)
{
    // QTest::keyClicks speaks ASCII only; a key event carrying its text serves every letter.
    for (QChar character : text) {
        const Qt::Key key = character.unicode() < 0x80 ? Qt::Key(character.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Press, widget, key, QString(character), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, key, QString(character), Qt::NoModifier);
    }
}

void FormHarness::typeInto(const char *name, const QString &text) const
{
    typeText(control(name), text);
}

void FormHarness::pressEnter(const char *name) const
{
    QTest::keyClick(control(name), Qt::Key_Return);
}

void FormHarness::pickName(const QString &name) const
{
    auto *combo = control<QComboBox>("Combo1");
    const int index = combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        qFatal("no such name in the list");
    combo->showPopup();
    QAbstractItemView *list = combo->view();
    list->setCurrentIndex(list->model()->index(index, 0));
    QTest::keyClick(list, Qt::Key_Return);
}

void FormHarness::addLearner(const QString &name) const
{
    click("Command4");
    typeInto("Text11", name);
    pressEnter("Text11");
}

QSet<QString> FormHarness::visibleControls() const
{
    QSet<QString> visible;
    for (const char *name : kControlNames) {
        if (control(name)->isVisibleTo(form.get()))
            visible.insert(QString::fromUtf8(name));
    }
    return visible;
}

QSet<QString> screen(std::initializer_list<const char *> controls, Exit exit)
{
    QSet<QString> expected{QStringLiteral("Command6")};
    if (exit == Exit::Shown)
        expected.insert(QStringLiteral("Command2"));
    for (const char *name : controls)
        expected.insert(QString::fromUtf8(name));
    return expected;
}
