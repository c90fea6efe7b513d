// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The name a word list is shown and recorded by: its file name without the directory and without
// the last four characters (".szo"). Both "/" and "\" end a directory.
QString listNameOf(const QString &wordListPath);
