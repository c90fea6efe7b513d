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

FormHarness::FormHarness(const char *registry, const QString &parentDirectory)
    : startDirectory(parentDirectory.isEmpty() ? QDir::tempPath() + QStringLiteral("/start-XXXXXX")
                                               : parentDirectory + QStringLiteral("/start-XXXXXX"))
{
    if (!startDirectory.isValid())
        qFatal("cannot make a start directory");
    if (registry) {
        QFile file(registryIn(startDirectory.path()));
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
    for (const ControlRow &row : kControls) {
        if (control(row.name)->isVisibleTo(form.get()))
            visible.insert(QString::fromUtf8(row.name));
    }
    return visible;
}
