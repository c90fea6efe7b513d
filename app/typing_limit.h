// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QLineEdit;

// A box that must show stored text longer than what may be typed into it: Qt's maxLength would
// cut that text as it is set. The box's limit follows its text down to the typing limit, so typing
// never lengthens a text past the limit, and a long text shown stays whole until it is edited.
void holdTypingToLimit(QLineEdit *box, int typingLimit);
void showWholeText(QLineEdit *box, const QString &text, int typingLimit);
