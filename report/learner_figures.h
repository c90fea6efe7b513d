// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/run_record.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <map>
#include <optional>

// A run as the report keeps it: the figures without the names.
struct RunSummary {
    qint64 lineNumber = 0;
    QString dateText;
    std::optional<QDate> date;
    bool leftEarly = false;
    qint64 shownAnswers = 0;
    qint64 wrongAnswers = 0;
    qint64 pairCount = 0;
};

struct ListFigures {
    qint64 runs = 0;
    qint64 wrongAnswers = 0;
    qint64 shownAnswers = 0;
    qint64 leftEarly = 0;
    std::optional<RunSummary> best; // the finished run with the fewest wrong, then shown, answers
    std::optional<RunSummary> last;
};

// Consecutive runs drawn as one point of the learner's picture.
struct RunGroup {
    qint64 runs = 0;
    qint64 wrongAnswers = 0;
    qint64 shownAnswers = 0;
    qint64 leftEarly = 0;
    std::optional<QDate> firstDate;
};

// A line of the log that is not a record.
struct StrayLine {
    qint64 lineNumber = 0;
    QString text; // its start, for the reader to recognise it
};

enum class LogState {
    Read,
    Missing,          // no log where the learner's log belongs
    NameLeadsOutside, // a name from a hand-edited registry that would lead outside the start directory
    Unreadable,       // there, but not a regular file, not a results log, or reading it failed
};

// Where reading a log stopped before its end, so that the page can say so.
enum class ReadCut {
    None,
    LogBytes,   // the log is larger than kMostLogBytes
    LogLines,   // it has more than kMostLogLines lines
    ListNames,  // more than kMostListNames distinct lists
    ClassBytes, // the logs read before it took the whole class's allowance
};

struct LearnerFigures {
    QString name;
    LogState logState = LogState::Missing;
    qint64 runs = 0;
    qint64 wrongAnswers = 0;
    qint64 shownAnswers = 0;
    qint64 leftEarly = 0;
    qint64 unknownDateRuns = 0;
    std::optional<RunSummary> lastRun;
    std::map<QString, ListFigures, std::less<>> lists; // looked up by a view into the line
    qsizetype listsLeftOut = 0;                        // lists read, counted in the figures above, but no longer kept

    // Runs in log order, in groups of `runsPerGroup`; the last group may be short.
    QList<RunGroup> groups;
    qint64 runsPerGroup = 1;
    qint64 strayLineCount = 0;
    QList<StrayLine> strayLines; // the first kShownStrayLines of them
    bool partialLastLine = false;
    ReadCut cut = ReadCut::None;
    qint64 bytesRead = 0;
};

// At most this many points a learner's picture; longer logs are drawn in groups of runs.
inline constexpr qsizetype kMostGroups = 60;
inline constexpr qsizetype kShownStrayLines = 20;
inline constexpr qsizetype kStrayLineShownChars = 120;

// What one log may cost. A year of daily practice is a few thousand records of a few hundred bytes;
// these are far beyond that, and keep a file put in a log's place from costing more.
inline constexpr qint64 kMostLogBytes = qint64(64) << 20;
inline constexpr qint64 kMostLogLines = 400'000;
inline constexpr qsizetype kMostListNames = 200;
// A record holds two names the file system allows (at most 255 bytes each) and fixed texts; a
// longer line is not a record.
inline constexpr qsizetype kLongestRecord = 2048;

// Takes a learner's log line by line, in order, keeping only figures: memory does not grow with
// the log beyond the names of its lists.
class LearnerFiguresBuilder {
public:
    explicit LearnerFiguresBuilder(const QString &name);
    // One line, without its line end (a CR before the LF is dropped here).
    void addLine(QStringView line);
    // The same in the code page's bytes.
    void addLine(const QByteArray &line);
    // The bytes after the last line end: a record another copy of the program is still appending.
    void setPartialLastLine(bool partial) { m_figures.partialLastLine = partial && !m_stopped; }
    // Whether further lines would be ignored: a bound was reached, or the first line was not the
    // learner's header (then the figures are empty and the log counts as unreadable).
    bool stopped() const { return m_stopped; }
    void stop(ReadCut cut);
    const LearnerFigures &figures() const { return m_figures; }
    LearnerFigures take();

private:
    void addRun(const RunRecord &run);
    void addToGroups(const RunSummary &run);

    void refuse();

    LearnerFigures m_figures;
    qint64 m_lineNumber = 0;
    bool m_stopped = false;
};

// Everything a log holds for the report (whole lines only: what follows the last line end is left
// out).
LearnerFigures figuresFromLogBytes(const QString &name, const QByteArray &log);

// Reads the learner's log in the start directory, one part at a time, up to the size it had when
// reading began: lines appended meanwhile wait for the next report. Only a regular file inside the
// start directory is read, never through a link that another account may have planted, and at
// most `allowance` bytes of it (and kMostLogBytes).
LearnerFigures readLearnerFigures(const QString &startDirectory, const QString &name, qint64 allowance = kMostLogBytes);
