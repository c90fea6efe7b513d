// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_font.h"

#include <QDir>
#include <QFontDatabase>
#include <QStringList>

void addBuiltInFonts()
{
    const QDir builtIn(QStringLiteral(":/fonts"));
    for (const QString &file : builtIn.entryList(QDir::Files))
        QFontDatabase::addApplicationFont(builtIn.filePath(file));
}

QFont programFont()
{
    // Liberation Sans has the widths of the classic Windows sans-serif the layout was made for (Arial,
    // where it is not built in); DejaVu Sans stands in where both are missing. Each holds every
    // Hungarian letter.
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}
