// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_icon.h"

#include <QString>

QIcon programIcon()
{
    // The theme's name is the desktop file's Icon= entry; the resource is packaging/'s picture.
    return QIcon::fromTheme(QStringLiteral("hu.vokalindo.vokalindo"),
                            QIcon(QStringLiteral(":/icons/hu.vokalindo.vokalindo.svg")));
}
