// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The text a browser would show of a field's HTML, on one line: tags dropped (a line break or a block
// becomes a space), entities decoded, runs of white space one space, none at either end.
QString plainTextOfHtml(const QString &html);
