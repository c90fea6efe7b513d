#pragma once

#include <QByteArray>
#include <QString>

// A learner's results log: <name>.log in the learner's own directory, a header line first.

QString resultsLogFileName(const QString &userName);

// "<name> Eredményei:" and CR LF, in the code page.
QByteArray resultsLogHeader(const QString &userName);
