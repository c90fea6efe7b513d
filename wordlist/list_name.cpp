// SPDX-License-Identifier: GPL-3.0-or-later
#include "wordlist/list_name.h"

#include <algorithm>

QString listNameOf(const QString &wordListPath)
{
    const qsizetype lastSeparator =
        std::max(wordListPath.lastIndexOf(QLatin1Char('/')), wordListPath.lastIndexOf(QLatin1Char('\\')));
    const QString fileName = wordListPath.mid(lastSeparator + 1);
    return fileName.left(std::max<qsizetype>(0, fileName.size() - 4));
}
