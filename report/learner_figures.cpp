// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/learner_figures.h"

#include "platform/code_page.h"
#include "platform/files.h"
#include "results/results_log.h"
#include "users/user_directory.h"

namespace {

// A log is read this much at a time.
constexpr qint64 kReadPartBytes = 64 << 10;
// A record is a few hundred bytes; a line longer than this (a file put there by mistake) is counted
// as a stray line without being held whole.
constexpr qsizetype kLongestLine = 1 << 20;

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

void LearnerFiguresBuilder::addLine(QStringView line)
{
    ++m_lineNumber;
    if (line.endsWith(u'\r'))
        line.chop(1);
    if (line.trimmed().isEmpty())
        return;
    if (m_lineNumber == 1 && isLogHeader(line, m_figures.name))
        return;
    if (const std::optional<RunRecord> run = parseRunRecord(line, m_figures.name)) {
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
    ++f.runs;
    f.wrongAnswers += run.wrongAnswers;
    f.shownAnswers += run.shownAnswers;
    f.leftEarly += run.leftEarly ? 1 : 0;
    f.unknownDateRuns += run.date ? 0 : 1;
    f.lastRun = run;

    auto found = f.lists.find(record.listName);
    if (found == f.lists.end())
        found = f.lists.emplace(record.listName.toString(), ListFigures{}).first;
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

LearnerFigures readLearnerFigures(const QString &startDirectory, const QString &name)
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
    if (!size) {
        missing.logState = platform::pathExists(path) ? LogState::Unreadable : LogState::Missing;
        return missing;
    }

    LearnerFiguresBuilder builder(name);
    QByteArray pending; // the start of a line that the previous part cut
    bool skippingLongLine = false;
    for (qint64 offset = 0; offset < *size;) {
        const std::optional<QByteArray> part =
            platform::readFilePart(path, offset, std::min(kReadPartBytes, *size - offset));
        if (!part) {
            missing.logState = LogState::Unreadable;
            return missing;
        }
        if (part->isEmpty())
            break; // shortened while being read
        offset += part->size();
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
    builder.setPartialLastLine(!pending.isEmpty());
    return builder.take();
}
