// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/computer_settings.h"

namespace platform {

std::optional<QString> computerSettingsFile()
{
    return std::nullopt;
}

} // namespace platform
