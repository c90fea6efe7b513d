// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dialogs.h"

namespace platform {

Dialogs::~Dialogs() = default;

} // namespace platform
