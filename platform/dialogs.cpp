#include "platform/dialogs.h"

namespace platform {

Dialogs::~Dialogs() = default;

} // namespace platform
