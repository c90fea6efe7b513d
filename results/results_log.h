// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// A learner's results log: <name>.log in the learner's own directory, a header line first.

QString resultsLogFileName(const QString &userName);

// "<name> Eredményei:" and CR LF, in the code page.
QByteArray resultsLogHeader(const QString &userName);

// The viewer shows at most this much of a log, about 100,000 records; a longer one (a file put there
// by mistake) is shown as its header line, a line "…", and its newest lines, so that opening it
// never freezes the window for long.
constexpr qint64 kShownLogBytes = 16 << 20;

// The header line taken from the start of a long log, "…", and the whole lines of its end.
QByteArray abridgedLog(const QByteArray &start, const QByteArray &end);
