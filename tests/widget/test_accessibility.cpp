// SPDX-License-Identifier: GPL-3.0-or-later
// What a learner who cannot see the screen or use a mouse gets from the window: a name and a role
// for every control, the question on the box that takes the answer, the practice messages read
// out while the focus stays in that box, the grid's editing keys and the name box picked by keys.
#include "support/file_helpers.h"
#include "support/form_harness.h"
#include "support/word_list_bytes.h"

#include "app/announcer.h"
#include "app/word_grid.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTest>

#include <utility>

namespace {

const QByteArray kTwoPairs = record("1", "apple", "alma", "gy\xFCm\xF6lcs") + record("2", "plum", "szilva");

// What the window hands the screen reader while the focus stays put: each appearance of its
// notification, by the name it appears with. (The offscreen platform has no accessibility bridge
// to raise events on; the real-display test shows them arriving over AT-SPI.)
class Announcements final : public QObject {
public:
    explicit Announcements(QWidget *window) : m_announcer(window->findChild<Announcer *>())
    {
        if (!m_announcer)
            qFatal("the window has no announcer");
        m_announcer->installEventFilter(this);
    }

    QAccessible::Role role() const { return QAccessible::queryAccessibleInterface(m_announcer)->role(); }

    // Said since the last call.
    QStringList take() { return std::exchange(m_said, {}); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            m_said.append(QAccessible::queryAccessibleInterface(m_announcer)->text(QAccessible::Name));
        return false;
    }

private:
    QWidget *m_announcer;
    QStringList m_said;
};

QAccessible::Role expectedRole(const QWidget *control)
{
    if (qobject_cast<const QRadioButton *>(control))
        return QAccessible::RadioButton;
    if (qobject_cast<const QPushButton *>(control))
        return QAccessible::Button;
    if (qobject_cast<const QLineEdit *>(control))
        return QAccessible::EditableText;
    if (qobject_cast<const QLabel *>(control))
        return QAccessible::StaticText;
    if (qobject_cast<const QComboBox *>(control))
        return QAccessible::ComboBox;
    if (qobject_cast<const QGroupBox *>(control))
        return QAccessible::Grouping;
    if (qobject_cast<const WordGrid *>(control))
        return QAccessible::Table;
    return QAccessible::List; // the results log, one line a row
}

QString nameOf(QWidget *control)
{
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}

QString descriptionOf(QWidget *control)
{
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Description);
}

struct Learner : FormHarness {
    Learner() : FormHarness("Anna\r\n")
    {
        QDir(startDirectory.path()).mkdir(QStringLiteral("Anna"));
        writeFile(path("Anna/fruit.szo"), kTwoPairs);
        if (!start())
            qFatal("start-up failed");
    }

    // A button as the keyboard presses it: the focus on it, then Space.
    void press(const char *name) const
    {
        QWidget *button = control(name);
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(button, Qt::Key_Space);
    }

    void signIn()
    {
        pickName(QStringLiteral("Anna"));
        press("Command5");
    }

    void load(const char *button)
    {
        dialogs.chooseFile(path("Anna/fruit.szo"));
        press(button);
    }

    WordGrid *grid() const { return control<WordGrid>("MSFlexGrid1"); }
    QLineEdit *editor() const { return control<QLineEdit>("Text3"); }

    // Where the arrow keys put the current cell, from the first data cell.
    void goToCell(int row, int column) const
    {
        grid()->setFocus(Qt::TabFocusReason);
        grid()->setCurrentCell(0, 0);
        for (int step = 1; step < row; ++step)
            QTest::keyClick(grid(), Qt::Key_Down);
        for (int step = 1; step < column; ++step)
            QTest::keyClick(grid(), Qt::Key_Right);
        QCOMPARE(grid()->currentGridRow(), row);
        QCOMPARE(grid()->currentGridColumn(), column);
    }
};

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

    // Every visible control is read with a name and its role, and the focus rests on a control
    // the learner can see and use.
    void checkScreen(const Learner &window, const char *screenName)
    {
        const QSet<QString> visible = window.visibleControls();
        for (const QString &name : visible) {
            QWidget *control = window.control(name.toUtf8().constData());
            QAccessibleInterface *readOut = QAccessible::queryAccessibleInterface(control);
            QVERIFY2(readOut, qPrintable(name));
            QVERIFY2(!readOut->text(QAccessible::Name).trimmed().isEmpty(),
                     qPrintable(QStringLiteral("%1 has no name on the %2").arg(name, screenName)));
            QVERIFY2(
                readOut->role() == expectedRole(control),
                qPrintable(QStringLiteral("%1 has role %2 on the %3").arg(name).arg(readOut->role()).arg(screenName)));
        }
        QWidget *focused = QApplication::focusWidget();
        QVERIFY2(focused, screenName);
        QVERIFY2(focused->isVisible() && focused->isEnabled(),
                 qPrintable(QStringLiteral("the focus rests on %1 on the %2").arg(focused->objectName(), screenName)));
    }

private slots:
    void everyScreenIsReadOut()
    {
        Learner window;
        checkScreen(window, "user-selection screen");
        QCOMPARE(nameOf(window.control("Combo1")), QStringLiteral("Válaszd ki a Neved!"));
        window.press("Command4");
        checkScreen(window, "new-name entry");
        QCOMPARE(nameOf(window.control("Text11")), QStringLiteral("Új név"));
        window.press("Vissza_Com6");
        window.pickName(QStringLiteral("Anna"));
        checkScreen(window, "name-picked screen");
        window.press("Eredméynek_Com");
        checkScreen(window, "results screen");
        window.press("Eredm_Kilép_Com");
        window.press("Command5");
        checkScreen(window, "main menu");

        window.press("Új_Com1");
        checkScreen(window, "list-building screen");
        QCOMPARE(nameOf(window.control("Text1")), QStringLiteral("Angol"));
        QCOMPARE(nameOf(window.control("Text2")), QStringLiteral("Magyar"));
        QCOMPARE(nameOf(window.control("Text6")), QStringLiteral("Megjegyzés"));
        QCOMPARE(nameOf(window.control("Frame1")), QStringLiteral("Beviteli sorrend"));
        QCOMPARE(nameOf(window.control("MSFlexGrid1")), QStringLiteral("Szójegyzék"));
        window.press("Vissza_no_mentComm");

        window.load("Szerkeszt_Comm");
        window.goToCell(2, 2);
        QTest::keyClick(window.grid(), Qt::Key_F2);
        checkScreen(window, "list-editing screen with the cell editor");
        QCOMPARE(nameOf(window.editor()), QStringLiteral("Magyar, 2. szópár"));
        // The cells are read with the captions of their columns, without the spaces before them.
        QAccessibleTableCellInterface *cell =
            QAccessible::queryAccessibleInterface(window.grid())->tableInterface()->cellAt(1, 2)->tableCellInterface();
        // Qt makes the header cells for the caller and keeps no hold of them; handed to its cache,
        // they are deleted through it.
        const QList<QAccessibleInterface *> headers = cell->columnHeaderCells();
        const auto deleteHeaders = qScopeGuard([&headers] {
            for (QAccessibleInterface *header : headers)
                QAccessible::deleteAccessibleInterface(QAccessible::registerAccessibleInterface(header));
        });
        QVERIFY(!headers.isEmpty());
        QCOMPARE(headers.first()->text(QAccessible::Name), QStringLiteral("Megjegyzések"));
        window.press("Vissza_no_mentComm");

        window.load("Gyak_be_Com2");
        checkScreen(window, "practice setup screen");
        window.press("Tanul_Com4");
        checkScreen(window, "practice screen");
        QCOMPARE(nameOf(window.control("Text4")), QStringLiteral("Angol"));
        QCOMPARE(nameOf(window.control("Text9")), QStringLiteral("Üzenetek:"));
        QCOMPARE(nameOf(window.control("Text10")), QStringLiteral("Megjegyzés:"));
        QCOMPARE(nameOf(window.control("Text7")), QStringLiteral("Rossz válasz: 0"));
        QCOMPARE(nameOf(window.control("Text8")), QStringLiteral("Megmutattam: 0"));
        window.press("Tanul_Vissza_Comm");
        checkScreen(window, "practice setup screen after a run");
    }

    // The box that takes the answer carries the question; each message and each new pair's note
    // is announced while the focus stays in that box; the finished run takes both away.
    void thePracticeIsHeard_data()
    {
        QTest::addColumn<QString>("direction");
        QTest::addColumn<QList<float>>("draws");
        QTest::addColumn<QStringList>("focusAndQuestion"); // per question: the box, then its description
        QTest::addColumn<QStringList>("answers");
        // Order 2, 1 from 0.7 and 0.1; in the mixed run the Hungarian side first, then the English.
        QTest::newRow("Angol-Magyar") << "Option1" << QList<float>{0.7f, 0.1f}
                                      << QStringList{"Text5", "Angol: plum", "Text5", "Angol: apple"}
                                      << QStringList{"szilva", "alma"};
        QTest::newRow("Magyar-Angol") << "Option2" << QList<float>{0.7f, 0.1f}
                                      << QStringList{"Text4", "Magyar: szilva", "Text4", "Magyar: alma"}
                                      << QStringList{"plum", "apple"};
        QTest::newRow("Vegyes") << "Option3" << QList<float>{0.7f, 0.1f, 0.1f, 0.9f}
                                << QStringList{"Text4", "Magyar: szilva", "Text5", "Angol: apple"}
                                << QStringList{"plum", "alma"};
    }

    void thePracticeIsHeard()
    {
        QFETCH(QString, direction);
        QFETCH(QList<float>, draws);
        QFETCH(QStringList, focusAndQuestion);
        QFETCH(QStringList, answers);
        Learner window;
        window.signIn();
        window.load("Gyak_be_Com2");
        window.control<QRadioButton>(direction.toUtf8().constData())->click();
        window.random.numbers = draws;
        Announcements announcements(window.form.get());
        QCOMPARE(announcements.role(), QAccessible::Notification);
        window.press("Tanul_Com4");
        announcements.take();

        for (int question = 0; question < 2; ++question) {
            auto *answerBox = window.control<QLineEdit>(focusAndQuestion[2 * question].toUtf8().constData());
            QCOMPARE(QApplication::focusWidget(), answerBox);
            QCOMPARE(descriptionOf(answerBox), focusAndQuestion[2 * question + 1]);
            // A wrong answer: the verdict is announced, the focus and the question stay.
            typeText(answerBox, QStringLiteral("x"));
            QTest::keyClick(answerBox, Qt::Key_Return);
            QCOMPARE(announcements.take(), QStringList{"A beírt szó nem felel meg! Kérlek ismételd meg!"});
            QCOMPARE(descriptionOf(answerBox), focusAndQuestion[2 * question + 1]);
            // "Megmutatja" says the answer, and the focus comes back.
            window.click("Megmutat_Comm");
            QCOMPARE(announcements.take(), QStringList{answers[question]});
            QCOMPARE(QApplication::focusWidget(), answerBox);
            typeText(answerBox, answers[question]);
            QTest::keyClick(answerBox, Qt::Key_Return);
            const QStringList said = announcements.take();
            if (question == 0) {
                // The next pair: its question is said with the verdict unless the focus moves to
                // the other box, which reads it out; then the note of apple.
                const bool sameBox = focusAndQuestion[0] == focusAndQuestion[2];
                QStringList expected{"A beírt szó megfelel!"};
                if (sameBox)
                    expected.append(focusAndQuestion[3]);
                QCOMPARE(said, QStringList{expected.join(' ') + " Megjegyzés: gyümölcs"});
            } else {
                QCOMPARE(said, QStringList{"Az öszes szót sikerült megoldani! Kattints a Vissza gombra!"});
                QCOMPARE(QApplication::focusWidget(), window.control("Tanul_Vissza_Comm"));
                QCOMPARE(descriptionOf(window.control("Text4")), QString());
                QCOMPARE(descriptionOf(window.control("Text5")), QString());
            }
        }
    }

    // F2, and Enter on a used row, open the cell editor as a double-click does; Escape closes it
    // and the cell keeps its text; Enter in it writes it back and the grid has the focus again.
    void theGridIsEditedFromTheKeyboard()
    {
        Learner window;
        window.signIn();
        window.load("Szerkeszt_Comm");
        QCOMPARE(window.grid()->cellText(1, 2), QStringLiteral("alma"));

        // Tab brings the learner to the first cell.
        window.grid()->setFocus(Qt::TabFocusReason);
        QCOMPARE(window.grid()->currentGridRow(), 1);
        QCOMPARE(window.grid()->currentGridColumn(), 1);
        QTest::keyClick(window.grid(), Qt::Key_Right);
        QTest::keyClick(window.grid(), Qt::Key_F2);
        QVERIFY(window.editor()->isVisible());
        QCOMPARE(QApplication::focusWidget(), window.editor());
        QCOMPARE(window.editor()->text(), QStringLiteral("alma"));
        QCOMPARE(window.editor()->geometry(), window.grid()->cellRectInParent(1, 2));
        typeText(window.editor(), QStringLiteral("fa"));
        QTest::keyClick(window.editor(), Qt::Key_Escape);
        QVERIFY(!window.editor()->isVisible());
        QVERIFY(!window.form->cellEditOpen);
        QCOMPARE(window.grid()->cellText(1, 2), QStringLiteral("alma"));
        QCOMPARE(QApplication::focusWidget(), window.grid());

        QTest::keyClick(window.grid(), Qt::Key_Return);
        QVERIFY(window.editor()->isVisible());
        QCOMPARE(window.editor()->text(), QStringLiteral("alma"));
        window.editor()->selectAll();
        typeText(window.editor(), QStringLiteral("körte"));
        QTest::keyClick(window.editor(), Qt::Key_Return);
        QVERIFY(!window.editor()->isVisible());
        QCOMPARE(window.grid()->cellText(1, 2), QStringLiteral("körte"));
        QCOMPARE(QApplication::focusWidget(), window.grid());

        // A row not in use, and the pair numbers, open nothing; Enter there is left alone.
        window.goToCell(3, 1);
        QTest::keyClick(window.grid(), Qt::Key_F2);
        QTest::keyClick(window.grid(), Qt::Key_Return);
        QVERIFY(!window.editor()->isVisible());
        QVERIFY(!window.form->cellEditOpen);

        // On the practice setup screen the grid is not editable.
        window.press("Vissza_no_mentComm");
        window.load("Gyak_be_Com2");
        window.goToCell(1, 1);
        QTest::keyClick(window.grid(), Qt::Key_F2);
        QTest::keyClick(window.grid(), Qt::Key_Return);
        QVERIFY(!window.editor()->isVisible());
    }

    // Down in the name box, or Alt+Down and Enter in its list, picks as the mouse does.
    void theNameIsPickedByKeys()
    {
        for (const bool openTheList : {false, true}) {
            Learner window;
            auto *names = window.control<QComboBox>("Combo1");
            names->setFocus(Qt::TabFocusReason);
            if (openTheList) {
                QTest::keyClick(names, Qt::Key_Down, Qt::AltModifier);
                QTRY_VERIFY(names->view()->isVisible());
                QTest::keyClick(names->view(), Qt::Key_Down);
                QTest::keyClick(names->view(), Qt::Key_Return);
            } else {
                QTest::keyClick(names, Qt::Key_Down);
            }
            QTRY_VERIFY(window.control("Command5")->isVisible());
            QCOMPARE(window.form->currentUser, QStringLiteral("Anna"));
            window.press("Command5");
            QCOMPARE(window.control<QLabel>("Label11")->text(), QStringLiteral("Anna"));
        }
    }
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
