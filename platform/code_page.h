#pragma once

#include <QByteArray>
#include <QString>

// Every file the program stores is 8-bit Windows-1250 text, one byte a character.
namespace platform {

QString fromCodePage(const QByteArray &bytes);
QByteArray toCodePage(const QString &text);
// As toCodePage, but each character the code page cannot hold becomes one "?" (an emoji too).
QByteArray toCodePageOrQuestionMark(const QString &text);

// True when the character survives a round trip through the code page unchanged
// (no substitute, no best-fit look-alike).
bool codePageHolds(QChar character);

} // namespace platform
