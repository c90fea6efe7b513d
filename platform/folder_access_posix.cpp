// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folder_access.h"

#include <QFile>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace platform {

namespace {

QString accountName(uid_t id)
{
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd *found = nullptr;
    if (::getpwuid_r(id, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(id);
}

QString groupName(gid_t id)
{
    std::vector<char> buffer(65536); // a class's group lists every learner
    struct group entry {};
    struct group *found = nullptr;
    if (::getgrgid_r(id, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->gr_name);
    return QString::number(id);
}

} // namespace

std::optional<EntryAccess> entryAccess(const QString &path)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return EntryAccess{S_ISDIR(status.st_mode),    S_ISLNK(status.st_mode),  status.st_uid == ::geteuid(),
                       status.st_uid == 0,         unsigned(status.st_uid),  unsigned(status.st_gid),
                       accountName(status.st_uid), groupName(status.st_gid), unsigned(status.st_mode & 07777)};
}

} // namespace platform
