// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/learner_figures.h"

#include "platform/code_page.h"
#include "platform/files.h"
#include "results/results_log.h"
#include "users/user_directory.h"

#include <QFileInfo>

namespace {

// A log is read this much at a time.
constexpr qint64 kReadPartBytes = 64 << 10;
// A record is a few hundred bytes; a line longer than this (a file put there by mistake) is counted
// as a stray line without being held whole.
constexpr qsizetype kLongestLine = 1 << 20;

// Each part is read together with the end of the part before, which must not have changed: a log
// only grows, so different bytes there mean that another file has taken its place.
constexpr qint64 kOverlapBytes = 4096;

// A link in a directory that other accounts can write may have been put there by any of them (the
// program itself never makes one): it is not followed.
bool plantedLink(const QString &path)
{
    const QFileInfo entry(path);
    if (!entry.isSymLink())
        return false;
    const QFileDevice::Permissions directory = QFileInfo(entry.absolutePath()).permissions();
    return directory & (QFileDevice::WriteGroup | QFileDevice::WriteOther);
}

// Whether the log may be read: no planted link on the way, and it lies inside the start directory
// however its links resolve.
bool trustedLogPath(const QString &startDirectory, const QString &directory, const QString &log)
{
    if (plantedLink(directory) || plantedLink(log))
        return false;
    const QString start = QFileInfo(startDirectory).canonicalFilePath();
    const QString resolved = QFileInfo(log).canonicalFilePath();
    return !start.isEmpty() && resolved.startsWith(start + QLatin1Char('/'));
}

bool betterThan(const RunSummary &run, const RunSummary &best)
{
    if (run.wrongAnswers != best.wrongAnswers)
        return run.wrongAnswers < best.wrongAnswers;
    return run.shownAnswers < best.shownAnswers;
}

// Hands every whole line of `bytes` to the builder, decoded at once (the code page gives a
// character a byte, so positions agree); gives where the unfinished rest begins.
qsizetype addWholeLines(LearnerFiguresBuilder &builder, const QByteArray &bytes)
{
    const qsizetype lastEnd = bytes.lastIndexOf('\n');
    if (lastEnd < 0)
        return 0;
    const QString text = platform::fromCodePage(QByteArray::fromRawData(bytes.constData(), lastEnd));
    for (qsizetype from = 0;;) {
        const qsizetype end = text.indexOf(u'\n', from);
        builder.addLine(QStringView(text).mid(from, (end < 0 ? text.size() : end) - from));
        if (end < 0)
            return lastEnd + 1;
        from = end + 1;
    }
}

} // namespace

LearnerFiguresBuilder::LearnerFiguresBuilder(const QString &name)
{
    m_figures.name = name;
    m_figures.logState = LogState::Read;
}

void LearnerFiguresBuilder::addLine(const QByteArray &line)
{
    addLine(platform::fromCodePage(line));
}

void LearnerFiguresBuilder::stop(ReadCut cut)
{
    if (m_stopped)
        return;
    m_figures.cut = cut;
    m_stopped = true;
}

// Not a results log (a file put in its place, another learner's log): nothing of it is kept.
void LearnerFiguresBuilder::refuse()
{
    const QString name = m_figures.name;
    m_figures = LearnerFigures{};
    m_figures.name = name;
    m_figures.logState = LogState::Unreadable;
    m_stopped = true;
}

LearnerFigures LearnerFiguresBuilder::take()
{
    if (m_lineNumber == 0 && !m_stopped)
        refuse(); // not even a header line
    return std::move(m_figures);
}

void LearnerFiguresBuilder::addLine(QStringView line)
{
    if (m_stopped)
        return;
    if (m_lineNumber == kMostLogLines) {
        stop(ReadCut::LogLines);
        return;
    }
    ++m_lineNumber;
    if (line.endsWith(u'\r'))
        line.chop(1);
    if (m_lineNumber == 1) {
        if (!isLogHeader(line, m_figures.name))
            refuse();
        return;
    }
    if (line.trimmed().isEmpty())
        return;
    if (const std::optional<RunRecord> run =
            line.size() <= kLongestRecord ? parseRunRecord(line, m_figures.name) : std::nullopt) {
        addRun(*run);
        return;
    }
    ++m_figures.strayLineCount;
    if (m_figures.strayLines.size() < kShownStrayLines) {
        QString text = line.left(kStrayLineShownChars).toString();
        if (line.size() > kStrayLineShownChars)
            text += QStringLiteral("…");
        m_figures.strayLines.append({m_lineNumber, text});
    }
}

void LearnerFiguresBuilder::addRun(const RunRecord &record)
{
    // One copy of the date text, shared by the places that keep this run.
    const RunSummary run{m_lineNumber,        record.dateText.toString(), record.date,     record.leftEarly,
                         record.shownAnswers, record.wrongAnswers,        record.pairCount};
    LearnerFigures &f = m_figures;
    auto found = f.lists.find(record.listName);
    if (found == f.lists.end()) {
        if (qsizetype(f.lists.size()) == kMostListNames) {
            stop(ReadCut::ListNames);
            return;
        }
        found = f.lists.emplace(record.listName.toString(), ListFigures{}).first;
    }
    ++f.runs;
    f.wrongAnswers += run.wrongAnswers;
    f.shownAnswers += run.shownAnswers;
    f.leftEarly += run.leftEarly ? 1 : 0;
    f.unknownDateRuns += run.date ? 0 : 1;
    f.lastRun = run;

    ListFigures &list = found->second;
    ++list.runs;
    list.wrongAnswers += run.wrongAnswers;
    list.shownAnswers += run.shownAnswers;
    list.leftEarly += run.leftEarly ? 1 : 0;
    if (!run.leftEarly && (!list.best || betterThan(run, *list.best)))
        list.best = run;
    list.last = run;
    addToGroups(run);
}

void LearnerFiguresBuilder::addToGroups(const RunSummary &run)
{
    QList<RunGroup> &groups = m_figures.groups;
    if (groups.isEmpty() || groups.last().runs == m_figures.runsPerGroup) {
        if (groups.size() == kMostGroups) {
            // Full: every two groups become one, twice as long.
            QList<RunGroup> merged;
            for (qsizetype i = 0; i + 1 < groups.size(); i += 2) {
                RunGroup both = groups.at(i);
                const RunGroup &next = groups.at(i + 1);
                both.runs += next.runs;
                both.wrongAnswers += next.wrongAnswers;
                both.shownAnswers += next.shownAnswers;
                both.leftEarly += next.leftEarly;
                if (!both.firstDate)
                    both.firstDate = next.firstDate;
                merged.append(both);
            }
            groups = std::move(merged);
            m_figures.runsPerGroup *= 2;
        }
        if (groups.isEmpty() || groups.last().runs == m_figures.runsPerGroup)
            groups.append(RunGroup{});
    }
    RunGroup &group = groups.last();
    ++group.runs;
    group.wrongAnswers += run.wrongAnswers;
    group.shownAnswers += run.shownAnswers;
    group.leftEarly += run.leftEarly ? 1 : 0;
    if (!group.firstDate)
        group.firstDate = run.date;
}

LearnerFigures figuresFromLogBytes(const QString &name, const QByteArray &log)
{
    LearnerFiguresBuilder builder(name);
    const qsizetype rest = addWholeLines(builder, log);
    builder.setPartialLastLine(rest < log.size());
    return builder.take();
}

LearnerFigures readLearnerFigures(const QString &startDirectory, const QString &name, qint64 allowance)
{
    LearnerFigures missing;
    missing.name = name;
    const std::optional<QString> directory = userDirectoryPath(startDirectory, name);
    if (!directory) {
        missing.logState = LogState::NameLeadsOutside;
        return missing;
    }
    const QString path = platform::joinPath(*directory, resultsLogFileName(name));
    const std::optional<qint64> size = platform::regularFileSize(path);
    if (!size || !trustedLogPath(startDirectory, *directory, path)) {
        missing.logState = size || platform::pathExists(path) ? LogState::Unreadable : LogState::Missing;
        return missing;
    }

    LearnerFiguresBuilder builder(name);
    const qint64 limit = std::min({*size, kMostLogBytes, std::max<qint64>(allowance, 0)});
    QByteArray pending; // the start of a line that the previous part cut
    QByteArray previousEnd;
    bool skippingLongLine = false;
    qint64 offset = 0;
    while (offset < limit && !builder.stopped()) {
        const qint64 back = previousEnd.size();
        std::optional<QByteArray> part =
            platform::readFilePart(path, offset - back, std::min(kReadPartBytes, limit - offset) + back);
        if (!part || !part->startsWith(previousEnd)) {
            missing.logState = LogState::Unreadable;
            return missing;
        }
        part->remove(0, back);
        if (part->isEmpty())
            break; // shortened while being read
        offset += part->size();
        previousEnd = part->right(kOverlapBytes);
        pending += *part;
        if (skippingLongLine) {
            const qsizetype end = pending.indexOf('\n');
            pending.remove(0, end < 0 ? pending.size() : end + 1);
            skippingLongLine = end < 0;
        }
        pending.remove(0, addWholeLines(builder, pending));
        if (pending.size() > kLongestLine) {
            builder.addLine(pending.left(kStrayLineShownChars * 2));
            pending.clear();
            skippingLongLine = true;
        }
    }
    if (limit < *size)
        builder.stop(limit == kMostLogBytes ? ReadCut::LogBytes : ReadCut::ClassBytes);
    builder.setPartialLastLine(!pending.isEmpty());
    LearnerFigures figures = builder.take();
    figures.bytesRead = offset;
    return figures;
}
