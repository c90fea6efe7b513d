// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/graphical_desktop.h"

#include <QByteArray>
#include <QtGlobal>

namespace platform {

bool graphicalDesktopReachable()
{
    const QByteArray plugin = qgetenv("QT_QPA_PLATFORM");
    // xcb and wayland need a display; every other plugin brings its own or needs none.
    if (!plugin.isEmpty() && !plugin.startsWith("xcb") && !plugin.startsWith("wayland"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace platform
