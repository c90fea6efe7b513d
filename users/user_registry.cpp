// SPDX-License-Identifier: GPL-3.0-or-later
#include "users/user_registry.h"

#include "platform/code_page.h"
#include "platform/files.h"
#include "platform/stored_text.h"

#include <QStringTokenizer>

QString registryPath(const QString &startDirectory)
{
    return platform::joinPath(startDirectory, QStringLiteral("init.usr"));
}

std::optional<QStringList> readRegistryNames(const QString &startDirectory)
{
    const std::optional<QByteArray> start =
        platform::readFileStart(registryPath(startDirectory), kRegistryReadLimit + 1);
    if (!start)
        return std::nullopt;
    return parseUserNames(registryWithinLimit(*start));
}

QByteArray registryWithinLimit(const QByteArray &registryStart)
{
    if (registryStart.size() <= kRegistryReadLimit)
        return registryStart;
    return registryStart.left(registryStart.lastIndexOf('\n', kRegistryReadLimit - 1) + 1);
}

QStringList parseUserNames(const QByteArray &registry)
{
    // Decoded whole (a byte is a character) and cut into lines after: a school's ten thousand names
    // cost a string each, not a line copy and a string each, before the window can appear.
    const QString text = platform::fromCodePage(registry);
    QStringList names;
    for (QStringView line : QStringTokenizer(text, u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!line.isEmpty())
            names.append(line.toString());
    }
    return names;
}

QByteArray registryAppendix(const QByteArray &registryEnd, const QString &name)
{
    QByteArray appendix;
    // A last line left unended, or ended by a lone CR, gets its line end made whole first.
    if (registryEnd.endsWith('\r'))
        appendix += '\n';
    else if (!registryEnd.isEmpty() && !registryEnd.endsWith('\n'))
        appendix += "\r\n";
    return appendix + platform::toCodePage(name) + "\r\n";
}

bool isAcceptableUserName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && isStorableText(name);
}
