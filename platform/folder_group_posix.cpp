// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folder_group.h"

#include <QFile>

#include <sys/stat.h>

namespace platform {

void openNewFilesToTheFoldersGroup(const QString &directory)
{
    struct stat status {};
    if (::stat(QFile::encodeName(directory).constData(), &status) != 0 || !S_ISDIR(status.st_mode)
        || (status.st_mode & S_ISGID) == 0)
        return;
    const mode_t mask = ::umask(0);
    ::umask(mask & ~static_cast<mode_t>(S_IRWXG));
}

} // namespace platform
