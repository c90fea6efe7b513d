// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdio>

namespace platform {

// Writes text to the standard output or error (`stream`) so that its Hungarian letters arrive: in
// the locale's encoding on Linux; on Windows, to a console as its own characters (a console's code
// page lacks ő and ű), and otherwise, into a file or a pipe, as UTF-8.
void writeText(std::FILE *stream, const QString &text);

} // namespace platform
