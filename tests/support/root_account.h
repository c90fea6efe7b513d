// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// Whether the tests run as root, who reads and writes any file and may give one to another
// account. Windows has no such account: there it is never so.
#ifdef Q_OS_WIN
inline bool runsAsRoot()
{
    return false;
}
#else
#include <unistd.h>
inline bool runsAsRoot()
{
    return ::geteuid() == 0;
}
#endif
