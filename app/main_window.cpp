// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "app/arrow_keys_click.h"
#include "app/typing_limit.h"
#include "app/word_grid.h"
#include "platform/key_press.h"
#include "practice/practice_run.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

Form1::Form1(QString startDirectory, platform::Dialogs &dialogs, platform::RandomSource &random,
             const platform::Clock &clock, QWidget *parent)
    : QWidget(parent), startDirectory(std::move(startDirectory)), m_dialogs(dialogs), m_random(random), m_clock(clock)
{
    createControls();
    nameControlsForScreenReaders();
    connectHandlers();
}

Form1::~Form1() = default;

void Form1::connectHandlers()
{
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);

    // Only a pick from the list chooses a learner. Typing into the edit field and pressing Enter
    // or leaving it must not: no insertion, no completion, and the combo box's own reaction to a
    // finished edit (which would pick a matching entry) is cut off.
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr);
    disconnect(Combo1->lineEdit(), &QLineEdit::editingFinished, Combo1, nullptr);
    connect(Combo1, &QComboBox::activated, this, &Form1::Combo1_Click);

    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    platform::onKeyPress(Text11, [this](int keyAscii) { Text11_KeyPress(keyAscii); });
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Név_vált_Com, &QPushButton::clicked, this, &Form1::Név_vált_Com_Click);
    connect(Vissza_Com6, &QPushButton::clicked, this, &Form1::Vissza_Com6_Click);

    connect(Vissza_no_mentComm, &QPushButton::clicked, this, &Form1::Vissza_no_mentComm_Click);
    connect(Új_Com1, &QPushButton::clicked, this, &Form1::Új_Com1_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    // Enter in the note box leads here; a further Enter presses it.
    Command3->setAutoDefault(true);
    connect(Vissza_Com4, &QPushButton::clicked, this, &Form1::Vissza_Com4_Click);
    platform::onKeyPress(Text1, [this](int keyAscii) { Text1_KeyPress(keyAscii); });
    platform::onKeyPress(Text2, [this](int keyAscii) { Text2_KeyPress(keyAscii); });
    platform::onKeyPress(Text6, [this](int keyAscii) { Text6_KeyPress(keyAscii); });
    connect(Option4, &QRadioButton::clicked, this, &Form1::Option4_Click);
    connect(Option5, &QRadioButton::clicked, this, &Form1::Option5_Click);
    // Chosen with the arrow keys, the focus ends where a click leaves it.
    arrowKeysClickOptions(entryOrderGroup);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    connect(Szerkeszt_Comm, &QPushButton::clicked, this, &Form1::Szerkeszt_Comm_Click);
    connect(MSFlexGrid1, &WordGrid::clickedAnywhere, this, &Form1::MSFlexGrid1_Click);
    connect(MSFlexGrid1, &WordGrid::cellDoubleClicked, this, &Form1::MSFlexGrid1_DblClick);
    connect(MSFlexGrid1, &WordGrid::editKeyPressed, this, &Form1::MSFlexGrid1_EditKey);
    platform::onKeyPress(Text3, [this](int keyAscii) { Text3_KeyPress(keyAscii); });
    holdTypingToLimit(Text3, kCellEditorTypingLimit);
    connect(Szerk_kész_Comm, &QPushButton::clicked, this, &Form1::Szerk_kész_Comm_Click);

    connect(Gyak_be_Com2, &QPushButton::clicked, this, &Form1::Gyak_be_Com2_Click);
    connect(Tanul_Com4, &QPushButton::clicked, this, &Form1::Tanul_Com4_Click);
    connect(Mehet_Comm, &QPushButton::clicked, this, &Form1::Mehet_Comm_Click);
    platform::onKeyPress(Text4, [this](int keyAscii) { Text4_KeyPress(keyAscii); });
    platform::onKeyPress(Text5, [this](int keyAscii) { Text5_KeyPress(keyAscii); });
    connect(Megmutat_Comm, &QPushButton::clicked, this, &Form1::Megmutat_Comm_Click);
    connect(Tanul_Vissza_Comm, &QPushButton::clicked, this, &Form1::Tanul_Vissza_Comm_Click);
    // The finished run leaves the focus here, so that Enter leaves it.
    Tanul_Vissza_Comm->setAutoDefault(true);

    connect(Eredméynek_Com, &QPushButton::clicked, this, &Form1::Eredméynek_Com_Click);
    connect(Eredm_Kilép_Com, &QPushButton::clicked, this, &Form1::Eredm_Kilép_Com_Click);
}
