// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_font.h"

#include <QStringList>

QFont programFont()
{
    // Liberation Sans has the widths of the classic Windows sans-serif the layout was made for;
    // DejaVu Sans stands in where it is missing. Both hold every Hungarian letter.
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}
