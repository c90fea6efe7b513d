// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folder_access.h"

namespace platform {

std::optional<EntryAccess> entryAccess(const QString &)
{
    return std::nullopt;
}

} // namespace platform
