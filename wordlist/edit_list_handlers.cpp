// SPDX-License-Identifier: GPL-3.0-or-later
// Editing a word list: loading it for editing, the in-place cell editor, saving it back.
#include "app/main_window.h"

#include "app/screens.h"
#include "app/typing_limit.h"
#include "app/word_grid.h"
#include "failures/failure_codes.h"
#include "platform/dialogs.h"
#include "platform/key_press.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kEmptyListQuestion =
    QStringLiteral("      A szójegyzék üres!\r\n      Nem lehet menteni!\r\n      Be akarod fejezni?");

} // namespace

// "Szójegyzék szerkesztése"
void Form1::Szerkeszt_Comm_Click()
{
    OpenWordList();
    if (loadFailed) {
        ResetToMainMenu();
        return;
    }
    hideControls({Gyak_be_Com2, Szerkeszt_Comm, Új_Com1});
    showControls({Szerk_kész_Comm});
    gridEditable = true;
    showControls({MSFlexGrid1});
    showControls({Vissza_no_mentComm, Vissza_Com4});
    hideControls({Név_vált_Com});
    showControls({Command3, Text1, Text2, Text6, Label1, Label2, Label3, Label4, Label8, Label10, Option4, Option5});
    Text1->setFocus();
    Vissza_Com4->setEnabled(true);
    showControls({Frame1});
    ShowListName();
}

// Opens the cell editor over the current cell, when that is a cell of a used row.
void Form1::MSFlexGrid1_DblClick()
{
    if (!gridEditable || cellEditOpen)
        return;
    editRow = MSFlexGrid1->currentGridRow();
    editCol = MSFlexGrid1->currentGridColumn();
    if (editRow == 0 || editCol == 0)
        return;
    if (MSFlexGrid1->cellText(editRow, 0).isEmpty())
        return;
    showControls({Text3});
    Text3->clear();
    Text3->setGeometry(MSFlexGrid1->cellRectInParent(editRow, editCol));
    Text3->raise();
    // A note may be longer than what can be typed here: it is shown whole all the same.
    showWholeText(Text3, MSFlexGrid1->cellText(editRow, editCol), kCellEditorTypingLimit);
    nameCellEditor();
    Text3->setFocus();
    cellEditOpen = true;
}

// The editor is written back only with text, and only into a row that is still in use.
bool Form1::cellEditorCanWriteBack() const
{
    return cellEditOpen && !Text3->text().isEmpty() && editRow != 0 && editCol != 0
           && !MSFlexGrid1->cellText(editRow, 0).isEmpty();
}

void Form1::writeCellEditorBack()
{
    const QString text = Text3->text();
    closeCellEditor();
    MSFlexGrid1->setCellText(editRow, editCol, text);
}

void Form1::closeCellEditor()
{
    // Hiding the editor while it has the focus would pass the focus along the tab order, onto a
    // button that may leave the screen; it goes back to the grid instead.
    if (Text3->hasFocus())
        MSFlexGrid1->setFocus();
    hideControls({Text3});
    cellEditOpen = false;
}

void Form1::MSFlexGrid1_Click()
{
    if (cellEditorCanWriteBack())
        writeCellEditorBack();
}

// F2, or Enter on a used row: the keyboard's double-click on the current cell, click first.
void Form1::MSFlexGrid1_EditKey()
{
    MSFlexGrid1_Click();
    MSFlexGrid1_DblClick();
}

// Enter writes the editor back; Escape closes it and the cell keeps its text.
void Form1::Text3_KeyPress(int keyAscii)
{
    if (keyAscii == platform::kEnterKey && cellEditorCanWriteBack())
        writeCellEditorBack();
    else if (keyAscii == platform::kEscapeKey && cellEditOpen)
        closeCellEditor();
}

// "Mentés és Vissza": the list goes back into the file it came from.
void Form1::Szerk_kész_Comm_Click()
{
    MSFlexGrid1_Click();
    if (pairCount < 1) {
        if (!m_dialogs.askYesNo(kEmptyListQuestion))
            return;
        ResetToMainMenu();
        ClearGrid();
        return;
    }
    writeListAndFinish(wordListPath);
}
