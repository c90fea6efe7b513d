// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the window's controls: names, captions, twip geometry, tab order, fonts and colours.
#include "app/main_window.h"

#include "app/font_on_first_show.h"
#include "app/program_font.h"
#include "app/program_icon.h"
#include "app/stored_text_validator.h"
#include "app/twips.h"
#include "app/window_texts.h"
#include "app/word_grid.h"
#include "app/wrapping_button.h"
#include "results/results_log_view.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace {

template <typename Control>
Control *named(Control *control, const char *name)
{
    control->setObjectName(QString::fromUtf8(name));
    return control;
}

QPushButton *button(QWidget *parent, const char *name, const char *caption)
{
    return named(new WrappingButton(QString::fromUtf8(caption), parent), name);
}

QLabel *label(QWidget *parent, const char *name, const char *caption)
{
    auto *control = named(new QLabel(QString::fromUtf8(caption), parent), name);
    // Names shown in labels are the learners' own text, never markup.
    control->setTextFormat(Qt::PlainText);
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    control->setWordWrap(true);
    return control;
}

QLineEdit *textBox(QWidget *parent, const char *name, const char *text = "")
{
    return named(new QLineEdit(QString::fromUtf8(text), parent), name);
}

// A box whose text ends up in a file.
QLineEdit *storedTextBox(QWidget *parent, const char *name, int maxLength, const char *text = "")
{
    QLineEdit *control = textBox(parent, name, text);
    control->setValidator(new StoredTextValidator(control));
    if (maxLength > 0)
        control->setMaxLength(maxLength);
    return control;
}

QLineEdit *readOnlyTextBox(QWidget *parent, const char *name, const char *text = "")
{
    QLineEdit *control = textBox(parent, name, text);
    control->setReadOnly(true);
    return control;
}

QRadioButton *option(QWidget *parent, const char *name, const char *caption)
{
    return named(new QRadioButton(QString::fromUtf8(caption), parent), name);
}

QButtonGroup *exclusiveGroup(QWidget *owner, std::initializer_list<QRadioButton *> options)
{
    auto *group = new QButtonGroup(owner);
    group->setExclusive(true);
    for (QRadioButton *member : options)
        group->addButton(member);
    return group;
}

struct Placement {
    QWidget *control;
    int left, top, width, height; // twips, from the top left of the parent
    int tab;
};

void place(const std::vector<Placement> &placements)
{
    for (const Placement &p : placements)
        p.control->setGeometry(twipsToPixels(p.left), twipsToPixels(p.top), twipsToPixels(p.width),
                               twipsToPixels(p.height));

    std::vector<Placement> byTab = placements;
    std::sort(byTab.begin(), byTab.end(), [](const Placement &a, const Placement &b) { return a.tab < b.tab; });
    QWidget *previous = nullptr;
    for (const Placement &p : byTab) {
        if (p.control->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, p.control);
        previous = p.control;
    }
}

QFont fontFor(const QWidget *control, qreal pointSize, bool bold, bool italic)
{
    QFont font = control->font();
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

void useFont(std::initializer_list<QWidget *> controls, qreal pointSize, bool bold, bool italic = false)
{
    for (QWidget *control : controls)
        control->setFont(fontFor(control, pointSize, bold, italic));
}

// For the line edits of the screens hidden at start (see setFontOnFirstShow).
void useFontOnFirstShow(std::initializer_list<QWidget *> controls, qreal pointSize, bool bold)
{
    for (QWidget *control : controls)
        setFontOnFirstShow(control, fontFor(control, pointSize, bold, false));
}

void setTextColour(std::initializer_list<QWidget *> controls, QColor colour)
{
    for (QWidget *control : controls) {
        QPalette palette = control->palette();
        palette.setColor(QPalette::WindowText, colour);
        palette.setColor(QPalette::Text, colour);
        palette.setColor(QPalette::ButtonText, colour);
        control->setPalette(palette);
    }
}

} // namespace

void Form1::createControls()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kWindowCaption);
    setWindowIcon(programIcon());
    setFixedSize(twipsToPixels(9900), twipsToPixels(7965));

    setFont(programFont());

    Command2 = button(this, "Command2", "EXIT");
    Command6 = button(this, "Command6", "Névjegy");
    Combo1 = named(new QComboBox(this), "Combo1");
    // The names as a plain list of strings: a school's thousands of learners go in at once,
    // without an item object each. Set before the edit field, whose completer takes the model.
    Combo1->setModel(new QStringListModel(Combo1));
    Combo1->setEditable(true);
    Command4 = button(this, "Command4", "Új Név Felvétele");
    Text11 = storedTextBox(this, "Text11", 0, "Text11");
    Command5 = button(this, "Command5", "Belépés");
    Vissza_Com6 = button(this, "Vissza_Com6", "Vissza");
    Eredméynek_Com = button(this, "Eredméynek_Com", "Eredmények Megtekintése");
    Label12 = label(this, "Label12", "Neved:");
    Label11 = label(this, "Label11", "Label11");
    Név_vált_Com = button(this, "Név_vált_Com", "Név Váltás");
    Text12 = named(new ResultsLogView(this), "Text12");
    Text12->setAccessibleName(QStringLiteral("Eredmények"));
    Text12->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text12->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Eredm_Kilép_Com = button(this, "Eredm_Kilép_Com", "Vissza");

    Új_Com1 = button(this, "Új_Com1", "Új Szójegyzék Készítése");
    Szerkeszt_Comm = button(this, "Szerkeszt_Comm", "Szójegyzék szerkesztése");
    Gyak_be_Com2 = button(this, "Gyak_be_Com2", "Szójegyzék betöltése");
    MSFlexGrid1 = named(new WordGrid(this), "MSFlexGrid1");
    Label1 = label(this, "Label1", "Angol");
    Text1 = storedTextBox(this, "Text1", 25);
    Label2 = label(this, "Label2", "Magyar");
    Text2 = storedTextBox(this, "Text2", 25);
    Label8 = label(this, "Label8", "Megjegyzés");
    Text6 = storedTextBox(this, "Text6", 50);
    Frame1 = named(new QGroupBox(this), "Frame1");
    Label10 = label(Frame1, "Label10", "Beviteli sorrend");
    Option4 = option(Frame1, "Option4", "Angol - Magyar");
    Option5 = option(Frame1, "Option5", "Magyar - Angol");
    Command3 = button(this, "Command3", "Szópár felvétele");
    Vissza_Com4 = button(this, "Vissza_Com4", "Utolsó sor törlése");
    Vissza_Com4->setEnabled(false);
    Command1 = button(this, "Command1", "Bevitel Mentése és Befejezése");
    Szerk_kész_Comm = button(this, "Szerk_kész_Comm", "Mentés és Vissza");
    Text3 = storedTextBox(this, "Text3", kCellEditorTypingLimit, "Text3");
    Vissza_no_mentComm = button(this, "Vissza_no_mentComm", "Mégse");
    Label3 = label(this, "Label3", "A szójegyzék neve:");
    Label4 = label(this, "Label4", "");

    Option1 = option(this, "Option1", "Angol-Magyar");
    Option2 = option(this, "Option2", "Magyar-Angol");
    Option3 = option(this, "Option3", "Vegyes felhozás");
    Tanul_Com4 = button(this, "Tanul_Com4", "Tanulás indítása");
    Label5 = label(this, "Label5", "Angol");
    Text4 = textBox(this, "Text4");
    Label6 = label(this, "Label6", "Magyar");
    Text5 = textBox(this, "Text5");
    Label7 = label(this, "Label7", "Üzenetek:");
    Text9 = readOnlyTextBox(this, "Text9");
    Label9 = label(this, "Label9", "Megjegyzés:");
    Text10 = readOnlyTextBox(this, "Text10");
    Text7 = readOnlyTextBox(this, "Text7", "Rossz válasz:");
    Text8 = readOnlyTextBox(this, "Text8", "Megmutat:");
    Mehet_Comm = button(this, "Mehet_Comm", "Mehet");
    Megmutat_Comm = button(this, "Megmutat_Comm", "Megmutatja");
    Tanul_Vissza_Comm = button(this, "Tanul_Vissza_Comm", "Vissza");

    // Two independent choices: the practice direction, and the entry order inside Frame1.
    directionGroup = exclusiveGroup(this, {Option1, Option2, Option3});
    entryOrderGroup = exclusiveGroup(this, {Option4, Option5});
    Option2->setChecked(true);
    Option4->setChecked(true);

    Command5->hide();
    Text11->hide();

    place({
        {Command2, 9120, 0, 735, 375, 39},
        {Command6, 9120, 360, 735, 375, 53},
        {Combo1, 3240, 720, 2175, 315, 41},
        {Command4, 5520, 720, 2055, 375, 40},
        {Text11, 3240, 1320, 2055, 405, 42},
        {Command5, 3840, 1080, 975, 495, 43},
        {Vissza_Com6, 5520, 720, 975, 495, 45},
        {Eredméynek_Com, 1560, 720, 1455, 495, 46},
        {Label12, 5520, 600, 855, 255, 50},
        {Label11, 5520, 840, 2055, 375, 49},
        {Név_vált_Com, 5520, 1320, 2055, 495, 51},
        {Text12, 120, 1440, 9735, 6495, 47},
        {Eredm_Kilép_Com, 1800, 720, 1215, 495, 48},
        {Új_Com1, 7680, 840, 2175, 615, 0},
        {Szerkeszt_Comm, 7680, 1560, 2175, 495, 10},
        {Gyak_be_Com2, 7680, 2160, 2175, 495, 1},
        {MSFlexGrid1, 120, 2760, 9615, 5175, 12},
        {Label1, 360, 600, 495, 255, 7},
        {Text1, 960, 600, 2535, 285, 5},
        {Label2, 240, 1080, 615, 255, 8},
        {Text2, 960, 1080, 2535, 285, 6},
        {Label8, 0, 1560, 855, 255, 32},
        {Text6, 960, 1560, 3855, 285, 31},
        {Frame1, 3720, 360, 1695, 975, 35},
        {Label10, 120, 120, 1455, 255, 38},
        {Option4, 120, 360, 1455, 255, 36},
        {Option5, 120, 720, 1455, 195, 37},
        {Command3, 3960, 2160, 1695, 495, 11},
        {Vissza_Com4, 2880, 2160, 975, 495, 13},
        {Command1, 360, 2160, 2055, 495, 9},
        {Szerk_kész_Comm, 6240, 2160, 2175, 495, 16},
        {Text3, 4680, 5640, 1095, 285, 15},
        {Vissza_no_mentComm, 6240, 1440, 2175, 495, 17},
        {Label3, 120, 120, 2055, 255, 18},
        {Label4, 2160, 120, 6975, 375, 19},
        {Option1, 240, 2040, 1455, 195, 2},
        {Option2, 240, 2280, 1335, 195, 3},
        {Option3, 240, 2520, 1575, 195, 4},
        {Tanul_Com4, 2040, 2160, 2175, 495, 14},
        {Label5, 480, 2880, 735, 375, 22},
        {Text4, 1320, 2760, 7815, 420, 20},
        {Label6, 360, 3600, 975, 375, 23},
        {Text5, 1320, 3480, 7815, 420, 21},
        {Label7, 360, 5040, 855, 255, 30},
        {Text9, 1320, 4920, 7815, 375, 29},
        {Label9, 120, 4320, 1095, 375, 34},
        {Text10, 1320, 4200, 7815, 375, 33},
        {Text7, 960, 5880, 2775, 375, 26},
        {Text8, 960, 6480, 2775, 375, 27},
        {Mehet_Comm, 240, 2160, 1335, 495, 25},
        {Megmutat_Comm, 3960, 6480, 1455, 375, 28},
        {Tanul_Vissza_Comm, 960, 7080, 1455, 495, 24},
    });

    applyFonts();
    applyColours();
    // After the fonts: the prompt is laid out once, in its own font.
    Combo1->setEditText(kChooseYourName);
}

void Form1::applyFonts()
{
    useFontOnFirstShow({Text4, Text5}, 12, true);
    useFontOnFirstShow({Text11, Text9, Text10}, 9.75, true);
    useFont({Label3, Label4, Label5, Label6, Label11, Eredm_Kilép_Com, Vissza_no_mentComm, Szerk_kész_Comm}, 9.75,
            true);
    useFont({Label12}, 9.75, true, true);
    useFont({Combo1, Command2, Command4, Command5, Vissza_Com6, Eredméynek_Com, Név_vált_Com, Új_Com1, Szerkeszt_Comm,
             Gyak_be_Com2, Tanul_Com4, Command3, Command1, Label7, Label9, Label10},
            8.25, true);
}

void Form1::applyColours()
{
    QPalette exitPalette = Command2->palette();
    exitPalette.setColor(QPalette::Button, QColor(255, 128, 128));
    Command2->setPalette(exitPalette);

    setTextColour({Text4, Text5, Text9, Text11, Combo1, Label4, Label10}, QColor(0, 0, 128));
    setTextColour({Label12}, QColor(0, 0, 192));
    setTextColour({Label11, Label7}, QColor(0, 128, 0));
    setTextColour({Label5, Label6}, QColor(0, 0, 64));
    setTextColour({Label9}, QColor(64, 64, 0));
}
