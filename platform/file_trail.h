// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// A trail for support: the system error behind each failure code, and each link the file layer
// refused. Silent unless turned on, e.g. QT_LOGGING_RULES="vokalindo.files.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcFiles)

namespace platform {

// Keeps errno as the failing call left it while a step cleans up after it (a close, an unlink), so
// that the trail names the error that counted.
class KeptErrno {
public:
    KeptErrno();
    ~KeptErrno();
    KeptErrno(const KeptErrno &) = delete;
    KeptErrno &operator=(const KeptErrno &) = delete;

private:
    int m_errno;
};

} // namespace platform
