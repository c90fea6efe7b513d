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
