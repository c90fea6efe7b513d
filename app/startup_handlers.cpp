// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "app/screens.h"
#include "app/twips.h"
#include "app/word_grid.h"
#include "results/results_log_view.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kColumnWidthsInTwips[WordGrid::kColumns] = {500, 2500, 2500, 4000};

} // namespace

bool Form1::Form_Load()
{
    ResetToMainMenu();
    for (int column = 0; column < WordGrid::kColumns; ++column)
        MSFlexGrid1->setColumnWidthInPixels(column, twipsToPixels(kColumnWidthsInTwips[column]));
    MSFlexGrid1->setCellText(0, 1, QStringLiteral("                 Angol"));
    MSFlexGrid1->setCellText(0, 2, QStringLiteral("                 Magyar"));
    MSFlexGrid1->setCellText(0, 3, QStringLiteral("                     Megjegyzések"));
    fieldSeparator = QString(QChar(0x0E));
    hideControls({Új_Com1, Szerkeszt_Comm, Gyak_be_Com2, Vissza_Com6, Eredméynek_Com, Eredm_Kilép_Com, Text12, Label11,
                  Label12, Név_vált_Com});
    allWordsSolved = false;
    // startDirectory was fixed when the window was made.
    if (!LoadUserNames())
        return false;
    pairCount = 0;
    return true;
}
