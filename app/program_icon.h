// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

// The program's icon: the one the package installs into the icon theme, or the same picture built
// into the program where it is not installed (the build tree).
QIcon programIcon();
