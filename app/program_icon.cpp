// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_icon.h"

#include <QDirIterator>
#include <QString>

QIcon programIcon()
{
    // Where Qt draws no SVG (Windows), the build puts the picture in at the sizes shown there.
    QIcon drawn;
    for (QDirIterator pictures(QStringLiteral(":/icons"), {QStringLiteral("*.png")}); pictures.hasNext();)
        drawn.addFile(pictures.next());
    if (!drawn.isNull())
        return drawn;
    // The theme's name is the desktop file's Icon= entry; the resource is packaging/'s picture.
    return QIcon::fromTheme(QStringLiteral("hu.vokalindo.vokalindo"),
                            QIcon(QStringLiteral(":/icons/hu.vokalindo.vokalindo.svg")));
}
