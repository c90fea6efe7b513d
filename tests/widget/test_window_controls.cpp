// SPDX-License-Identifier: GPL-3.0-or-later
// The window's controls as built: names, captions, places, states and tab order.
#include "app/font_on_first_show.h"
#include "results/results_log_view.h"
#include "support/form_harness.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

namespace {

QString caption(QWidget *control)
{
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->text();
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->text();
    if (auto *box = qobject_cast<QLineEdit *>(control))
        return box->text();
    if (auto *combo = qobject_cast<QComboBox *>(control))
        return combo->currentText();
    return QString();
}

} // namespace

class TestWindowControls : public QObject {
    Q_OBJECT

private slots:
    void windowHasItsCaptionAndSize()
    {
        FormHarness harness;
        QCOMPARE(harness.form->windowTitle(), QStringLiteral("Angol - Magyar - Angol   Vokalindo"));
        QCOMPARE(harness.form->size(), QSize(660, 531));
        // Its own icon, drawn at the sizes a window manager asks for, in the build tree too.
        const QIcon icon = harness.form->windowIcon();
        for (const int side : {16, 48})
            QCOMPARE(icon.pixmap(side).size(), QSize(side, side));
    }

    void controlsHaveTheirCaptionsAndPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("twips");
        for (const ControlRow &row : kControls)
            QTest::newRow(row.name) << QString::fromUtf8(row.name) << QString::fromUtf8(row.caption)
                                    << QRect(row.left, row.top, row.width, row.height);
    }

    void controlsHaveTheirCaptionsAndPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, twips);
        FormHarness harness;
        QWidget *control = harness.control(name.toUtf8().constData());
        QCOMPARE(caption(control), text);
        QCOMPARE(control->geometry(), QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    }

    void frameHoldsTheEntryOrder()
    {
        FormHarness harness;
        auto *frame = harness.control<QGroupBox>("Frame1");
        for (const char *inside : {"Label10", "Option4", "Option5"})
            QCOMPARE(harness.control(inside)->parentWidget(), frame);
    }

    void initialStatesLimitsAndReadOnlyBoxes()
    {
        FormHarness harness;
        QVERIFY(harness.control<QRadioButton>("Option2")->isChecked());
        QVERIFY(harness.control<QRadioButton>("Option4")->isChecked());
        QVERIFY(!harness.control("Vissza_Com4")->isEnabled());
        QVERIFY(harness.control("Command5")->isHidden());
        QVERIFY(harness.control("Text11")->isHidden());
        QCOMPARE(harness.control<QLineEdit>("Text1")->maxLength(), 25);
        QCOMPARE(harness.control<QLineEdit>("Text2")->maxLength(), 25);
        QCOMPARE(harness.control<QLineEdit>("Text6")->maxLength(), 50);
        QCOMPARE(harness.control<QLineEdit>("Text3")->maxLength(), 40);
        QVERIFY(harness.control<QLineEdit>("Text11")->maxLength() >= 32767);
        for (const char *readOnly : {"Text7", "Text8", "Text9", "Text10"})
            QVERIFY2(harness.control<QLineEdit>(readOnly)->isReadOnly(), readOnly);
        for (const char *editable : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text11"})
            QVERIFY2(!harness.control<QLineEdit>(editable)->isReadOnly(), editable);
        auto *results = harness.control<ResultsLogView>("Text12");
        QCOMPARE(results->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(results->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(!results->wordWrap());
        QCOMPARE(harness.control("Command2")->palette().color(QPalette::Button), QColor(255, 128, 128));
        QCOMPARE(harness.control("Label12")->font().italic(), true);
        auto *combo = harness.control<QComboBox>("Combo1");
        QVERIFY(combo->isEditable());
        QCOMPARE(combo->count(), 0);
    }

    // The boxes of screens hidden at start take their bold fonts when first shown, and only then:
    // a font set on them afterwards stays.
    void hiddenBoxesTakeTheirFontsWhenShown()
    {
        FormHarness harness("Anna\r\n");
        QVERIFY(harness.start());
        harness.click("Command4");
        QFont font = harness.control("Text11")->font();
        QVERIFY(font.bold());
        QCOMPARE(font.pointSizeF(), 9.75);

        QWidget window;
        auto *box = new QLineEdit(&window);
        box->hide();
        QFont big = box->font();
        big.setPointSizeF(20);
        big.setBold(true);
        setFontOnFirstShow(box, big);
        window.show();
        QVERIFY(!box->font().bold());
        box->show();
        QCOMPARE(box->font(), big);
        QFont small = big;
        small.setPointSizeF(7);
        box->setFont(small);
        box->hide();
        box->show();
        QCOMPARE(box->font(), small);
    }

    void gridHasTwentyDataRowsAndThreeDataColumns()
    {
        FormHarness harness;
        auto *grid = harness.control<QTableWidget>("MSFlexGrid1");
        QCOMPARE(grid->rowCount(), 20);
        QCOMPARE(grid->columnCount(), 3);
        QVERIFY(!grid->horizontalHeader()->isHidden());
        QVERIFY(!grid->verticalHeader()->isHidden());
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    }

    void tabOrderFollowsTheTable()
    {
        FormHarness harness;
        const char *const order[] = {"Új_Com1",
                                     "Gyak_be_Com2",
                                     "Option1",
                                     "Option2",
                                     "Option3",
                                     "Text1",
                                     "Text2",
                                     "Command1",
                                     "Szerkeszt_Comm",
                                     "Command3",
                                     "MSFlexGrid1",
                                     "Vissza_Com4",
                                     "Tanul_Com4",
                                     "Text3",
                                     "Szerk_kész_Comm",
                                     "Vissza_no_mentComm",
                                     "Text4",
                                     "Text5",
                                     "Tanul_Vissza_Comm",
                                     "Mehet_Comm",
                                     "Text7",
                                     "Text8",
                                     "Megmutat_Comm",
                                     "Text9",
                                     "Text6",
                                     "Text10",
                                     "Option4",
                                     "Option5",
                                     "Command2",
                                     "Command4",
                                     "Combo1",
                                     "Text11",
                                     "Command5",
                                     "Vissza_Com6",
                                     "Eredméynek_Com",
                                     "Text12",
                                     "Eredm_Kilép_Com",
                                     "Név_vált_Com",
                                     "Command6"};
        QSet<QString> controls;
        for (const char *name : order)
            controls.insert(QString::fromUtf8(name));
        for (size_t i = 0; i + 1 < std::size(order); ++i) {
            QWidget *next = harness.control(order[i])->nextInFocusChain();
            // Labels, the frame and the inner parts of the combo box and grid take no tab stop.
            while (next && !controls.contains(next->objectName()))
                next = next->nextInFocusChain();
            QVERIFY2(next == harness.control(order[i + 1]), order[i]);
        }
    }
};

QTEST_MAIN(TestWindowControls)
#include "test_window_controls.moc"
