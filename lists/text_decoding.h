// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Text as spreadsheets and editors save it: UTF-8 with or without a byte order mark, UTF-16 with
// one ("Unicode text"), and anything that is not valid UTF-8 as Windows-1250.
QString decodeText(const QByteArray &bytes);
