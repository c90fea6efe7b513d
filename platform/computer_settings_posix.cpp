// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/computer_settings.h"

namespace platform {

std::optional<QString> computerSettingsFile()
{
    return std::nullopt;
}

QString classFolderSettingsFile()
{
    const QString named = qEnvironmentVariable("VOKALINDO_SYSTEM_CONFIG");
    return named.isEmpty() ? QStringLiteral("/etc/vokalindo.conf") : named;
}

} // namespace platform
