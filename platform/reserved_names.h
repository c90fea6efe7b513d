// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

// Whether Windows cannot hold the name as a file or folder of its own: a device's name (CON, PRN,
// AUX, NUL, COM1–COM9, LPT1–LPT9, with or without an extension), a name ending in a dot or a space,
// or one with a character Windows keeps for itself (< > : " | ? * and the control characters).
bool isNameWindowsRefuses(const QString &name);

} // namespace platform
