// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Every file the program stores is 8-bit Windows-1250 text, one byte a character.
namespace platform {

// Every byte reads as one character; the five bytes the code page leaves undefined read as the C1
// control characters of the same number, so any file survives a read and a write unchanged.
QString fromCodePage(const QByteArray &bytes);
// A character the code page cannot hold is written as 0x1A; the program passes only text that
// went through the stored-text checks, which it can hold.
QByteArray toCodePage(const QString &text);
// As toCodePage, but each character the code page cannot hold becomes one "?" (an emoji too).
QByteArray toCodePageOrQuestionMark(const QString &text);

// True when the character survives a round trip through the code page unchanged
// (no substitute, no best-fit look-alike).
bool codePageHolds(QChar character);

} // namespace platform
