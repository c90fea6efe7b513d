// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_trail.h"

#include <cerrno>

Q_LOGGING_CATEGORY(lcFiles, "vokalindo.files", QtWarningMsg)

namespace platform {

KeptErrno::KeptErrno() : m_errno(errno) {}

KeptErrno::~KeptErrno()
{
    errno = m_errno;
}

} // namespace platform
