// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QValidator>

// Drops from a text box, as they are typed or pasted, the characters a stored file could not hold;
// the rest of a paste is kept.
class StoredTextValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString &input, int &position) const override;
};
