// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "app/screens.h"
#include "app/word_grid.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

// Brings the window to the main-menu state. Controls it does not name keep their visibility:
// the learner's name, the name box and EXIT belong to the handlers around it.
void Form1::ResetToMainMenu()
{
    hideControls({Text1, Text2});
    hideControls({Command1, Command3, Vissza_Com4});
    hideControls({MSFlexGrid1});
    hideControls({Text3});
    hideControls({Tanul_Com4, Szerk_kész_Comm});
    gridEditable = false;
    hideControls({Vissza_no_mentComm});
    showControls({Gyak_be_Com2, Szerkeszt_Comm, Új_Com1});
    hideControls({Option1, Option2, Option3, Option4, Option5});
    hideControls({Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9, Label10});
    hideControls({Text4, Text5, Text6, Text7, Text8, Text9, Text10});
    hideControls({Frame1});
    hideControls({Mehet_Comm, Tanul_Vissza_Comm, Megmutat_Comm});
    showControls({Név_vált_Com});
    loadFailed = false;
    answerSubmitted = false;
    leaveRequested = false;
    cellEditOpen = false;
    Text3->setText(QString());
}
