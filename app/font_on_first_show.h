// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

class QWidget;

// Gives the control its font just before it is first shown. A line edit lays its text out again
// the moment its font changes, which loads that font's face there and then; the boxes of screens
// that start hidden need not pay for it before the window appears.
void setFontOnFirstShow(QWidget *control, const QFont &font);
