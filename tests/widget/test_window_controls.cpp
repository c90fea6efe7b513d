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
    }

    void controlsHaveTheirCaptionsAndPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("twips");
        auto row = [](const char *name, const char *text, int l, int t, int w, int h) {
            QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(text) << QRect(l, t, w, h);
        };
        row("Command2", "EXIT", 9120, 0, 735, 375);
        row("Command6", "Névjegy", 9120, 360, 735, 375);
        row("Combo1", "Válaszd ki a Neved!", 3240, 720, 2175, 315);
        row("Command4", "Új Név Felvétele", 5520, 720, 2055, 375);
        row("Text11", "Text11", 3240, 1320, 2055, 405);
        row("Command5", "Belépés", 3840, 1080, 975, 495);
        row("Vissza_Com6", "Vissza", 5520, 720, 975, 495);
        row("Eredméynek_Com", "Eredmények Megtekintése", 1560, 720, 1455, 495);
        row("Label12", "Neved:", 5520, 600, 855, 255);
        row("Label11", "Label11", 5520, 840, 2055, 375);
        row("Név_vált_Com", "Név Váltás", 5520, 1320, 2055, 495);
        row("Text12", "", 120, 1440, 9735, 6495);
        row("Eredm_Kilép_Com", "Vissza", 1800, 720, 1215, 495);
        row("Új_Com1", "Új Szójegyzék Készítése", 7680, 840, 2175, 615);
        row("Szerkeszt_Comm", "Szójegyzék szerkesztése", 7680, 1560, 2175, 495);
        row("Gyak_be_Com2", "Szójegyzék betöltése", 7680, 2160, 2175, 495);
        row("MSFlexGrid1", "", 120, 2760, 9615, 5175);
        row("Label1", "Angol", 360, 600, 495, 255);
        row("Text1", "", 960, 600, 2535, 285);
        row("Label2", "Magyar", 240, 1080, 615, 255);
        row("Text2", "", 960, 1080, 2535, 285);
        row("Label8", "Megjegyzés", 0, 1560, 855, 255);
        row("Text6", "", 960, 1560, 3855, 285);
        row("Frame1", "", 3720, 360, 1695, 975);
        row("Label10", "Beviteli sorrend", 120, 120, 1455, 255);
        row("Option4", "Angol - Magyar", 120, 360, 1455, 255);
        row("Option5", "Magyar - Angol", 120, 720, 1455, 195);
        row("Command3", "Szópár felvétele", 3960, 2160, 1695, 495);
        row("Vissza_Com4", "Utolsó sor törlése", 2880, 2160, 975, 495);
        row("Command1", "Bevitel Mentése és Befejezése", 360, 2160, 2055, 495);
        row("Szerk_kész_Comm", "Mentés és Vissza", 6240, 2160, 2175, 495);
        row("Text3", "Text3", 4680, 5640, 1095, 285);
        row("Vissza_no_mentComm", "Mégse", 6240, 1440, 2175, 495);
        row("Label3", "A szójegyzék neve:", 120, 120, 2055, 255);
        row("Label4", "", 2160, 120, 6975, 375);
        row("Option1", "Angol-Magyar", 240, 2040, 1455, 195);
        row("Option2", "Magyar-Angol", 240, 2280, 1335, 195);
        row("Option3", "Vegyes felhozás", 240, 2520, 1575, 195);
        row("Tanul_Com4", "Tanulás indítása", 2040, 2160, 2175, 495);
        row("Label5", "Angol", 480, 2880, 735, 375);
        row("Text4", "", 1320, 2760, 7815, 420);
        row("Label6", "Magyar", 360, 3600, 975, 375);
        row("Text5", "", 1320, 3480, 7815, 420);
        row("Label7", "Üzenetek:", 360, 5040, 855, 255);
        row("Text9", "", 1320, 4920, 7815, 375);
        row("Label9", "Megjegyzés:", 120, 4320, 1095, 375);
        row("Text10", "", 1320, 4200, 7815, 375);
        row("Text7", "Rossz válasz:", 960, 5880, 2775, 375);
        row("Text8", "Megmutat:", 960, 6480, 2775, 375);
        row("Mehet_Comm", "Mehet", 240, 2160, 1335, 495);
        row("Megmutat_Comm", "Megmutatja", 3960, 6480, 1455, 375);
        row("Tanul_Vissza_Comm", "Vissza", 960, 7080, 1455, 495);
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
