#pragma once

#include <QByteArray>
#include <QString>

// A learner's results log: <name>.log in the learner's own directory, a header line first.

QString resultsLogFileName(const QString &userName);

// "<name> Eredményei:" and CR LF, in the code page.
QByteArray resultsLogHeader(const QString &userName);

// The viewer shows at most this much of a log; a longer one (years of runs, or a file put there by
// mistake) is shown as its header line, a line "…", and its newest lines, so that opening it
// never freezes the window.
constexpr qint64 kShownLogBytes = 1 << 20;

// The header line taken from the start of a long log, "…", and the whole lines of its end.
QByteArray abridgedLog(const QByteArray &start, const QByteArray &end);
