// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/typing_limit.h"

#include <QLineEdit>

#include <algorithm>

namespace {

int limitFor(const QString &text, int typingLimit)
{
    return std::max(typingLimit, int(text.size()));
}

} // namespace

void holdTypingToLimit(QLineEdit *box, int typingLimit)
{
    QObject::connect(box, &QLineEdit::textEdited, box,
                     [box, typingLimit](const QString &text) { box->setMaxLength(limitFor(text, typingLimit)); });
}

void showWholeText(QLineEdit *box, const QString &text, int typingLimit)
{
    box->setMaxLength(limitFor(text, typingLimit));
    box->setText(text);
}
