// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/results_log.h"

#include "platform/code_page.h"

QString resultsLogFileName(const QString &userName)
{
    return userName + QStringLiteral(".log");
}

QByteArray resultsLogHeader(const QString &userName)
{
    return platform::toCodePage(userName + QStringLiteral(" Eredményei:")) + "\r\n";
}

QByteArray abridgedLog(const QByteArray &start, const QByteArray &end)
{
    const qsizetype headerEnd = start.indexOf('\n');
    const qsizetype firstWholeLine = end.indexOf('\n');
    return start.left(headerEnd < 0 ? 0 : headerEnd + 1) + platform::toCodePage(QStringLiteral("\u2026")) + "\r\n"
           + end.mid(firstWholeLine + 1);
}
