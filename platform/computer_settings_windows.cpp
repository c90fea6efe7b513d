// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/computer_settings.h"

#include <QDir>

#include <shlobj.h>
#include <windows.h>

namespace platform {

std::optional<QString> computerSettingsFile()
{
    PWSTR programData = nullptr;
    if (::SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &programData) != S_OK) {
        ::CoTaskMemFree(programData);
        return std::nullopt;
    }
    const QString folder = QDir::fromNativeSeparators(QString::fromWCharArray(programData));
    ::CoTaskMemFree(programData);
    return folder + QStringLiteral("/Vokalindo/vokalindo.conf");
}

QString classFolderSettingsFile()
{
    return computerSettingsFile().value_or(QString());
}

} // namespace platform
