// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/stored_text_validator.h"

#include "platform/stored_text.h"

QValidator::State StoredTextValidator::validate(QString &input, int &position) const
{
    const QString keptBefore = storablePart(input.left(position));
    input = keptBefore + storablePart(input.mid(position));
    position = int(keptBefore.size());
    return Acceptable;
}
