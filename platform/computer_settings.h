// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace platform {

// The file of this computer's settings that the program itself reads when started without
// arguments: on Windows %ProgramData%\Vokalindo\vokalindo.conf, which the installer writes. On
// Linux none: there the launcher reads /etc/vokalindo.conf and starts the program in its folder.
std::optional<QString> computerSettingsFile();

// The file of this computer's settings that names the class folder, for the teacher's window,
// which has no launcher: on Linux the launcher's, /etc/vokalindo.conf (or the file
// VOKALINDO_SYSTEM_CONFIG names, as for the launcher); on Windows the installer's.
QString classFolderSettingsFile();

} // namespace platform
