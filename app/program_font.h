// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The one face of the window and its dialogs, 8.25 pt regular.
QFont programFont();
