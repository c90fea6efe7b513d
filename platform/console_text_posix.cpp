// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/console_text.h"

namespace platform {

void writeText(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

} // namespace platform
