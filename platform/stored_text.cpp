// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/stored_text.h"

#include "platform/code_page.h"

#include <algorithm>

bool isStorableCharacter(QChar character)
{
    return character.category() != QChar::Other_Control && platform::codePageHolds(character);
}

bool isStorableText(const QString &text)
{
    return std::all_of(text.begin(), text.end(), isStorableCharacter);
}

QString storablePart(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(kept), isStorableCharacter);
    return kept;
}
