// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The one face of the window and its dialogs, 8.25 pt regular.
QFont programFont();

// Makes the faces built into the program (where the system has none of them: Windows) known to Qt.
// Called once the application exists.
void addBuiltInFonts();
