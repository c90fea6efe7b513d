// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The about message: version, date and licence, each line ended by CR LF.
QString aboutText();
