// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/reserved_names.h"

#include <QStringList>

namespace platform {

bool isNameWindowsRefuses(const QString &name)
{
    if (name.isEmpty() || name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return true;
    for (const QChar character : name) {
        if (character.unicode() < 0x20 || QStringLiteral("<>:\"|?*").contains(character))
            return true;
    }
    // A device's name stays one with an extension ("aux.txt") and with spaces before it.
    const QString stem = name.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList kDevices = [] {
        QStringList devices{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"), QStringLiteral("NUL")};
        for (int number = 1; number <= 9; ++number)
            devices << QStringLiteral("COM%1").arg(number) << QStringLiteral("LPT%1").arg(number);
        // Windows counts the superscript digits too.
        for (const QChar superscript : {QChar(0xB9), QChar(0xB2), QChar(0xB3)})
            devices << QStringLiteral("COM") + superscript << QStringLiteral("LPT") + superscript;
        return devices;
    }();
    return kDevices.contains(stem);
}

} // namespace platform
