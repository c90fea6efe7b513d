#include "app/main_window.h"

#include "platform/key_press.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

Form1::Form1(QString startDirectory, platform::Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), startDirectory(std::move(startDirectory)), m_dialogs(dialogs)
{
    createControls();
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
}
