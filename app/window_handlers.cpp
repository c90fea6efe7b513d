// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/about.h"

#include "app/main_window.h"
#include "platform/dialogs.h"

QString aboutText()
{
    return QStringLiteral("Verzió: 1.0\r\nDátum: 2004.11.28.\r\nJogállás: Szabad\r\n");
}

// "Névjegy"
void Form1::Command6_Click()
{
    m_dialogs.message(aboutText());
}

// "EXIT": no question, nothing saved. Every handler closes its own files, so none is open here.
void Form1::Command2_Click()
{
    close();
}
