// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/graphical_desktop.h"

namespace platform {

// Every Windows session that can start the program has a desktop to show it on.
bool graphicalDesktopReachable()
{
    return true;
}

} // namespace platform
