// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/path_walk_posix.h"

#include "platform/share_calls_posix.h"

#include <QList>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

// As many links as the kernel follows on one path.
constexpr int kMaxLinks = 40;

thread_local PlaceFailure t_lastFailure = PlaceFailure::None;

QList<QByteArray> namesOf(const QByteArray &path)
{
    QList<QByteArray> names;
    for (const QByteArray &name : path.split('/'))
        if (!name.isEmpty() && name != ".")
            names.append(name);
    return names;
}

int openRoot(bool absolute)
{
    return ::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// The one rule for links, whoever owns the directory that holds them: a link is followed only when it
// belongs to this account or to root. In a class folder a classmate may own a directory (a learner's
// name is not an account), so the directory's owner vouches for nothing.
bool linkIsTrusted(const struct stat &link)
{
    return link.st_uid == ::geteuid() || link.st_uid == 0;
}

// The link's target, read from the very link whose owner was judged: the link is opened itself, so
// that one swapped in between the look and the reading is not the one read.
std::optional<QByteArray> trustedLinkTarget(int directory, const char *name)
{
    const int link = ::openat(directory, name, O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (link < 0)
        return std::nullopt;
    struct stat status {};
    QByteArray target(PATH_MAX, '\0');
    ssize_t length = -1;
    if (::fstat(link, &status) == 0 && S_ISLNK(status.st_mode)) {
        if (!linkIsTrusted(status)) {
            ::close(link);
            errno = EPERM;
            return QByteArray();
        }
        length = ::readlinkat(link, "", target.data(), size_t(target.size()));
    }
    ::close(link);
    if (length <= 0 || length >= target.size())
        return std::nullopt;
    target.truncate(length);
    return target;
}

std::optional<PlacedName> fail(int directory, PlaceFailure failure)
{
    const int kept = errno;
    if (directory >= 0)
        ::close(directory);
    errno = kept;
    t_lastFailure = failure;
    return std::nullopt;
}

} // namespace

bool othersMayWriteIn(const struct stat &directoryStatus)
{
    return (directoryStatus.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

bool othersMayHavePlacedEntriesIn(const struct stat &directoryStatus)
{
    const bool ownersOwn = directoryStatus.st_uid == ::geteuid() || directoryStatus.st_uid == 0;
    return !ownersOwn || othersMayWriteIn(directoryStatus);
}

PlacedName::PlacedName(int directory, QByteArray name, bool followedLink)
    : m_directory(directory), m_name(std::move(name)), m_followedLink(followedLink)
{
    ::fstat(m_directory, &m_directoryStatus);
}

PlacedName::~PlacedName()
{
    const int kept = errno;
    if (m_directory >= 0)
        ::close(m_directory);
    errno = kept;
}

PlacedName::PlacedName(PlacedName &&other) noexcept
    : m_directory(other.m_directory), m_name(std::move(other.m_name)), m_followedLink(other.m_followedLink),
      m_directoryStatus(other.m_directoryStatus)
{
    other.m_directory = -1;
}

PlacedName &PlacedName::operator=(PlacedName &&other) noexcept
{
    if (this != &other) {
        if (m_directory >= 0)
            ::close(m_directory);
        m_directory = other.m_directory;
        m_name = std::move(other.m_name);
        m_followedLink = other.m_followedLink;
        m_directoryStatus = other.m_directoryStatus;
        other.m_directory = -1;
    }
    return *this;
}

bool PlacedName::othersMayWrite() const
{
    return othersMayWriteIn(m_directoryStatus);
}

bool PlacedName::othersMayHavePlacedEntries() const
{
    return othersMayHavePlacedEntriesIn(m_directoryStatus);
}

std::optional<struct stat> PlacedName::entry() const
{
    struct stat status {};
    if (currentStatusAt(m_directory, name(), &status) != 0)
        return std::nullopt;
    return status;
}

std::optional<PlacedName> placeName(const QByteArray &path, LastName last)
{
    t_lastFailure = PlaceFailure::None;
    QList<QByteArray> rest = namesOf(path);
    int directory = openRoot(path.startsWith('/'));
    if (directory < 0)
        return fail(directory, PlaceFailure::Unreachable);
    bool followed = false;
    int links = 0;
    while (!rest.isEmpty()) {
        const QByteArray name = rest.takeFirst();
        const bool isLast = rest.isEmpty();
        struct stat status {};
        if (::fstatat(directory, name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            // A last name that is not there (or that the file system refuses) is the caller's to
            // make, or to fail on with the system's own answer.
            if (isLast)
                return PlacedName(directory, name, followed);
            return fail(directory, PlaceFailure::Unreachable);
        }
        if (S_ISLNK(status.st_mode)) {
            if (isLast && last == LastName::AsItIs)
                return PlacedName(directory, name, followed);
            if (!linkIsTrusted(status))
                return fail(directory, PlaceFailure::UntrustedLink);
            const std::optional<QByteArray> target = trustedLinkTarget(directory, name.constData());
            if (target && target->isEmpty())
                return fail(directory, PlaceFailure::UntrustedLink);
            if (!target || ++links > kMaxLinks)
                return fail(directory, PlaceFailure::Unreachable);
            rest = namesOf(*target) + rest;
            followed = true;
            if (target->startsWith('/')) {
                ::close(directory);
                directory = openRoot(true);
                if (directory < 0)
                    return fail(directory, PlaceFailure::Unreachable);
            }
            continue;
        }
        if (isLast)
            return PlacedName(directory, name, followed);
        // Opened without following: a link swapped in since the look above fails here.
        const int next = ::openat(directory, name.constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0)
            return fail(directory, PlaceFailure::Unreachable);
        ::close(directory);
        directory = next;
    }
    // The path names a directory itself ("/", ".", or a link that leads to one): its entry ".".
    return PlacedName(directory, QByteArrayLiteral("."), followed);
}

PlaceFailure lastPlaceFailure()
{
    return t_lastFailure;
}

} // namespace platform
