// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace platform {

// A hidden name of its own beside a target, under which new content or a new directory is made
// before it takes the target's name: ".vokalindo-XXXXXXXX.tmp".
QByteArray stagingName();

} // namespace platform
