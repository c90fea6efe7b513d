// SPDX-License-Identifier: GPL-3.0-or-later
#include "users/user_directory.h"

#include "platform/files.h"
#include "users/user_registry.h"

std::optional<QString> userDirectoryPath(const QString &startDirectory, const QString &userName)
{
    if (!isAcceptableUserName(userName))
        return std::nullopt;
    return platform::joinPath(startDirectory, userName);
}

QString fileDialogDirectory(const QString &startDirectory, const QString &userName)
{
    const std::optional<QString> userDirectory = userDirectoryPath(startDirectory, userName);
    return userDirectory && platform::isDirectory(*userDirectory) ? *userDirectory : startDirectory;
}
