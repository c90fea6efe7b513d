// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Text that goes into a file must fit the code page and hold no control characters,
// which would end a line or a field early.
bool isStorableCharacter(QChar character);
bool isStorableText(const QString &text);
QString storablePart(const QString &text);
