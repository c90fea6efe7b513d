// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/run_record.h"

#include "report/record_date.h"

#include <QString>

#include <array>

namespace {

const QString kNameLabel = QStringLiteral(",  Név: ");
const QString kCheatingMark = QStringLiteral(",  Csalás volt! (vissza)");
const QString kListLabel = QStringLiteral(",  A szójegyzék neve: ");
const QString kDirectionLabel = QStringLiteral(",  A felhozatal: ");
const QString kShownLabel = QStringLiteral(",  Megmutattam: ");
const QString kWrongLabel = QStringLiteral(",  Hibák Száma: ");
const QString kPairsLabel = QStringLiteral(",  A szavak száma: ");
const std::array<QString, 3> kDirections = {QStringLiteral(" Angol - Magyar"), QStringLiteral(" Magyar - Angol"),
                                            QStringLiteral("     Vegyes    ")};
constexpr qsizetype kDirectionLength = 15;

// Reads "<label><number>" that ends at `end`, moving `end` to the label's start. The counters are
// written without sign or leading zeros; a number too long for 64 bits is damage.
std::optional<qint64> numberBefore(QStringView line, qsizetype &end, const QString &label)
{
    qsizetype start = end;
    while (start > 0 && line.at(start - 1).isDigit() && line.at(start - 1).unicode() < 128)
        --start;
    const QStringView digits = line.mid(start, end - start);
    if (digits.isEmpty() || digits.size() > 19 || (digits.size() > 1 && digits.startsWith(u'0')))
        return std::nullopt;
    if (start < label.size() || line.mid(start - label.size(), label.size()) != label)
        return std::nullopt;
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    end = start - label.size();
    return value;
}

} // namespace

bool isLogHeader(QStringView line, QStringView owner)
{
    return line.startsWith(owner) && line.mid(owner.size()) == u" Eredményei:";
}

std::optional<RunRecord> parseRunRecord(QStringView line, QStringView owner)
{
    // The tail is fixed: it ends the line, so the list name is whatever lies before it.
    RunRecord run;
    qsizetype end = line.size();
    const std::optional<qint64> pairs = numberBefore(line, end, kPairsLabel);
    const std::optional<qint64> wrong = pairs ? numberBefore(line, end, kWrongLabel) : std::nullopt;
    const std::optional<qint64> shown = wrong ? numberBefore(line, end, kShownLabel) : std::nullopt;
    if (!shown || end < kDirectionLength + kDirectionLabel.size())
        return std::nullopt;
    const QStringView direction = line.mid(end - kDirectionLength, kDirectionLength);
    if (std::find(kDirections.begin(), kDirections.end(), direction) == kDirections.end())
        return std::nullopt;
    const qsizetype tailAt = end - kDirectionLength - kDirectionLabel.size();
    if (line.mid(tailAt, kDirectionLabel.size()) != kDirectionLabel)
        return std::nullopt;
    run.pairCount = *pairs;
    run.wrongAnswers = *wrong;
    run.shownAnswers = *shown;

    // Date and time never hold the name label, so its first appearance ends them.
    const qsizetype nameAt = line.left(tailAt).indexOf(kNameLabel);
    if (nameAt < 0)
        return std::nullopt;
    const QStringView dateAndTime = line.left(nameAt);
    const qsizetype timeAt = dateAndTime.lastIndexOf(u", ");
    if (timeAt <= 0)
        return std::nullopt;
    run.dateText = dateAndTime.left(timeAt);
    run.timeText = dateAndTime.mid(timeAt + 2);

    const QStringView middle = line.mid(nameAt + kNameLabel.size(), tailAt - nameAt - kNameLabel.size());
    qsizetype listAt = -1;
    const QStringView afterOwner = middle.startsWith(owner) ? middle.mid(owner.size()) : QStringView();
    if (afterOwner.startsWith(kCheatingMark) && afterOwner.mid(kCheatingMark.size()).startsWith(kListLabel)) {
        run.learner = middle.left(owner.size());
        run.leftEarly = true;
        listAt = owner.size() + kCheatingMark.size() + kListLabel.size();
    } else if (afterOwner.startsWith(kListLabel)) {
        run.learner = middle.left(owner.size());
        listAt = owner.size() + kListLabel.size();
    } else {
        // Another name than the owner's: it ends at the first list label.
        const qsizetype labelAt = middle.indexOf(kListLabel);
        if (labelAt < 0)
            return std::nullopt;
        run.learner = middle.left(labelAt);
        if (run.learner.endsWith(kCheatingMark)) {
            run.learner.chop(kCheatingMark.size());
            run.leftEarly = true;
        }
        listAt = labelAt + kListLabel.size();
    }
    run.listName = middle.mid(listAt);
    // A second name label means two records run together: an unfinished line (a write cut short)
    // with the next record after it. Neither can be read with confidence.
    if (run.learner.contains(kNameLabel) || run.listName.contains(kNameLabel))
        return std::nullopt;
    run.date = parseRecordDate(run.dateText);
    return run;
}
