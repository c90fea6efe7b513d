// SPDX-License-Identifier: GPL-3.0-or-later
// Building a new word list: the entry boxes, adding and deleting rows, the entry order, saving.
#include "app/main_window.h"

#include "app/screens.h"
#include "app/word_grid.h"
#include "failures/failure_codes.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/key_press.h"
#include "users/user_directory.h"
#include "wordlist/word_list_file.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kListFull = QStringLiteral("Max 20 szópárt lehet beírni.");
const QString kEmptyListNotSaved = QStringLiteral("      A szójegyzék üres!\r\n      Nem lehet menteni!");
const QString kOverwrite =
    QStringLiteral("A megadott Szójegyzék név már létezik!\r\nFelülírjam? (a régi szavak elvesznek belőle!)");

} // namespace

// "Új Szójegyzék Készítése"
void Form1::Új_Com1_Click()
{
    showControls({Text1, Text2, Text6, Command1, Command3, Label1, Label2, Label8, Label10, Option4, Option5,
                  Vissza_Com4, MSFlexGrid1, Frame1});
    hideControls({Gyak_be_Com2, Tanul_Com4, Szerkeszt_Comm, Új_Com1});
    Vissza_Com4->setEnabled(false);
    showControls({Vissza_no_mentComm});
    hideControls({Név_vált_Com});
    gridEditable = true;
    pairCount = 0;
    ClearGrid();
    focusFirstWordBox();
}

// The word box the entry order starts with.
void Form1::focusFirstWordBox()
{
    if (Option4->isChecked())
        Text1->setFocus();
    else if (Option5->isChecked())
        Text2->setFocus();
}

// "Szópár felvétele"
void Form1::Command3_Click()
{
    if (!Text1->text().isEmpty() && !Text2->text().isEmpty()) {
        Vissza_Com4->setEnabled(true);
        if (pairCount < kMaxPairs) {
            const int row = pairCount + 1;
            MSFlexGrid1->setCellText(row, 0, QString::number(row));
            MSFlexGrid1->setCellText(row, 1, Text1->text());
            MSFlexGrid1->setCellText(row, 2, Text2->text());
            MSFlexGrid1->setCellText(row, 3, Text6->text().isEmpty() ? QStringLiteral(" ") : Text6->text());
            focusFirstWordBox();
            pairCount = row;
        } else {
            m_dialogs.message(kListFull);
        }
        Text2->clear();
        Text1->clear();
        Text6->clear();
    }

    const bool englishEmpty = Text1->text().isEmpty();
    const bool hungarianEmpty = Text2->text().isEmpty();
    if (englishEmpty && hungarianEmpty)
        focusFirstWordBox();
    else if (hungarianEmpty)
        Text2->setFocus();
    else if (englishEmpty)
        Text1->setFocus();
}

// "Utolsó sor törlése", on both list screens.
void Form1::Vissza_Com4_Click()
{
    if (pairCount == 1)
        Vissza_Com4->setEnabled(false);
    if (pairCount > 0)
        --pairCount;
    const int deletedRow = pairCount + 1;
    // An editor over the deleted row has nothing left to write into.
    if (cellEditOpen && editRow == deletedRow) {
        hideControls({Text3});
        cellEditOpen = false;
    }
    for (int column = 0; column < WordGrid::kColumns; ++column)
        MSFlexGrid1->setCellText(deletedRow, column, QString());
    Text1->setFocus();
}

// Enter moves on through the entry boxes in the chosen entry order; an empty word box keeps the focus.
void Form1::Text1_KeyPress(int keyAscii)
{
    if (keyAscii != platform::kEnterKey || Text1->text().isEmpty())
        return;
    if (Option4->isChecked())
        Text2->setFocus();
    else if (Option5->isChecked())
        Text6->setFocus();
}

void Form1::Text2_KeyPress(int keyAscii)
{
    if (keyAscii != platform::kEnterKey || Text2->text().isEmpty())
        return;
    if (Option5->isChecked())
        Text1->setFocus();
    else if (Option4->isChecked())
        Text6->setFocus();
}

// Enter in the note box, empty or not, leads to "Szópár felvétele": a further Enter presses it.
void Form1::Text6_KeyPress(int keyAscii)
{
    if (keyAscii == platform::kEnterKey)
        Command3->setFocus();
}

void Form1::Option4_Click()
{
    Text1->setFocus();
}

void Form1::Option5_Click()
{
    Text2->setFocus();
}

// "Bevitel Mentése és Befejezése"
void Form1::Command1_Click()
{
    MSFlexGrid1_Click();
    if (pairCount == 0) {
        m_dialogs.message(kEmptyListNotSaved);
        return;
    }
    const std::optional<QString> chosen = m_dialogs.chooseFileToSave({fileDialogDirectory(startDirectory, currentUser),
                                                                      QStringLiteral("Írd be a szójegyzék nevét!"),
                                                                      QStringLiteral("*.szo"), QStringLiteral("szo")});
    if (!chosen)
        return;
    wordListPath = *chosen;
    // No keeps the typed list on this screen, so that another name can be chosen.
    if (platform::pathExists(wordListPath) && !m_dialogs.askYesNo(kOverwrite))
        return;
    writeListAndFinish(wordListPath);
}
