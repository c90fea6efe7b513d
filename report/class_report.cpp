// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/class_report.h"

#include "platform/files.h"
#include "report/hungarian_order.h"
#include "users/user_directory.h"
#include "users/user_registry.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

// Text for the page, in text and in quoted attributes alike: escaped, and control characters (a
// damaged log may hold any byte) shown as "?".
QString html(QString text)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    }
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QLatin1String("&#39;"));
}

bool othersMayWrite(const QString &directory)
{
    return QFileInfo(directory).permissions() & (QFileDevice::WriteGroup | QFileDevice::WriteOther);
}

// The path with every link resolved, also when its last part does not exist yet.
QString resolved(const QString &path)
{
    const QFileInfo info(path);
    if (const QString canonical = info.canonicalFilePath(); !canonical.isEmpty())
        return canonical;
    const QString directory = QFileInfo(info.absolutePath()).canonicalFilePath();
    return directory.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : directory + '/' + info.fileName();
}

// Whether `path` is `directory` or lies inside it.
bool within(const QString &path, const QString &directory)
{
    return path == directory || path.startsWith(directory + QLatin1Char('/'));
}

QString number(qint64 value)
{
    // Hungarian groups thousands with a (non-breaking) space: 10 000.
    return QLocale(QLocale::Hungarian, QLocale::Hungary).toString(value);
}

QString dateText(const RunSummary &run)
{
    if (run.date)
        return run.date->toString(QStringLiteral("yyyy. MM. dd."));
    return QStringLiteral("ismeretlen dátum (%1)").arg(html(shownName(run.dateText)));
}

QString runText(const RunSummary &run)
{
    QString text = QStringLiteral("%1: %2 hiba, %3 megmutatva, %4 szópár")
                       .arg(dateText(run), number(run.wrongAnswers), number(run.shownAnswers), number(run.pairCount));
    if (run.leftEarly)
        text += QStringLiteral(", <span class=\"csalas\">Csalás volt! (vissza)</span>");
    return text;
}

QString anchor(qsizetype index)
{
    return QStringLiteral("tanulo-%1").arg(index + 1);
}

QStringList listNamesByName(const LearnerFigures &learner)
{
    QStringList names;
    for (const auto &[name, figures] : learner.lists)
        names.append(name);
    sortHungarian(names);
    return names;
}

// The names of the learner's `most` most recently practised lists, most recent first.
QStringList recentListNames(const LearnerFigures &learner, qsizetype most)
{
    std::vector<std::pair<qint64, const QString *>> lists;
    for (const auto &[name, figures] : learner.lists)
        lists.emplace_back(figures.last ? figures.last->lineNumber : 0, &name);
    const auto kept = lists.begin() + std::min<qsizetype>(most, qsizetype(lists.size()));
    std::partial_sort(lists.begin(), kept, lists.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    QStringList names;
    for (auto it = lists.begin(); it != kept; ++it)
        names.append(*it->second);
    return names;
}

QString listNameText(const QString &name)
{
    return name.isEmpty() ? QStringLiteral("(név nélkül)") : html(shownName(name));
}

// A few names of the class table's cell, no more than a line or two of them.
QString practisedLists(const LearnerFigures &learner)
{
    constexpr qsizetype kNamed = 8;
    constexpr qsizetype kNamedChars = 160;
    const QStringList names = listNamesByName(learner);
    QStringList shown;
    qsizetype chars = 0;
    for (qsizetype i = 0; i < names.size() && i < kNamed && chars < kNamedChars; ++i) {
        chars += std::min(names.at(i).size(), kShownNameChars);
        shown.append(listNameText(names.at(i)));
    }
    QString text = shown.join(QStringLiteral(" · ")); // list names may hold commas
    if (const qsizetype more = names.size() + learner.listsLeftOut - shown.size(); more > 0)
        text += QStringLiteral(" és még %1").arg(number(more));
    return text;
}

QString readCutNote(const LearnerFigures &learner)
{
    switch (learner.cut) {
    case ReadCut::None:
        return {};
    case ReadCut::LogBytes:
        return QStringLiteral("Az eredménynaplója nagyobb %1 MiB-nál; csak az eleje került a jelentésbe.")
            .arg(number(kMostLogBytes >> 20));
    case ReadCut::LogLines:
        return QStringLiteral("Az eredménynaplója több mint %1 sor; csak az első %1 sor került a jelentésbe.")
            .arg(number(kMostLogLines));
    case ReadCut::ListNames:
        return QStringLiteral("A naplójában több mint %1 különböző szójegyzék szerepel; az olvasás a(z) %2. "
                              "szójegyzék első futásánál abbamaradt.")
            .arg(number(kMostListNames), number(kMostListNames + 1));
    case ReadCut::ClassBytes:
        return QStringLiteral("Az osztály naplói együtt nagyobbak %1 MiB-nál; ennek a naplónak csak az eleje (vagy "
                              "semmi) került a jelentésbe.")
            .arg(number(kMostClassBytes >> 20));
    }
    return {};
}

// The class table; the names of the first `linked` learners lead to their sections.
QString classTable(const ClassReport &report, qsizetype linked)
{
    QString out =
        QStringLiteral("<table id=\"osztaly\">\n<thead><tr><th>Név</th><th>Futások</th><th>Utolsó futás</th>"
                       "<th>Gyakorolt szójegyzékek</th><th>Hibák összesen</th><th>Megmutatott válaszok</th>"
                       "<th>„Csalás volt!” jelű futások</th><th>Nem eredménysorok</th></tr></thead>\n<tbody>\n");
    for (qsizetype i = 0; i < report.learners.size(); ++i) {
        const LearnerFigures &l = report.learners.at(i);
        const QString last = l.lastRun ? dateText(*l.lastRun) : QStringLiteral("—");
        const QString name = html(shownName(l.name));
        out += QStringLiteral("<tr><td class=\"nev\">%1</td><td class=\"szam futasok\">%2</td>"
                              "<td>%3</td><td>%4</td><td class=\"szam hibak\">%5</td>"
                              "<td class=\"szam megmutatva\">%6</td><td class=\"szam csalasok\">%7</td>"
                              "<td class=\"szam nem-eredmeny\">%8</td></tr>\n")
                   .arg(i < linked ? QStringLiteral("<a href=\"#%1\">%2</a>").arg(anchor(i), name) : name,
                        number(l.runs), last, practisedLists(l), number(l.wrongAnswers), number(l.shownAnswers),
                        number(l.leftEarly), number(l.strayLineCount));
    }
    return out + QStringLiteral("</tbody>\n</table>\n");
}

QString listTable(const LearnerFigures &learner)
{
    QString out = QStringLiteral("<table class=\"szojegyzekek\">\n<thead><tr><th>Szójegyzék</th><th>Futások</th>"
                                 "<th>Hibák</th><th>Megmutatva</th><th>„Csalás volt!”</th>"
                                 "<th>Legjobb végigvitt futás</th><th>Utolsó futás</th></tr></thead>\n<tbody>\n");
    QStringList names = recentListNames(learner, kShownListRows);
    sortHungarian(names);
    for (const QString &name : names) {
        const ListFigures &list = learner.lists.at(name);
        out +=
            QStringLiteral("<tr><td>%1</td><td class=\"szam\">%2</td><td class=\"szam\">%3</td>"
                           "<td class=\"szam\">%4</td><td class=\"szam\">%5</td><td>%6</td><td>%7</td></tr>\n")
                .arg(listNameText(name), number(list.runs), number(list.wrongAnswers), number(list.shownAnswers),
                     number(list.leftEarly), list.best ? runText(*list.best) : QStringLiteral("nincs végigvitt futás"),
                     list.last ? runText(*list.last) : QString());
    }
    out += QStringLiteral("</tbody>\n</table>\n");
    if (const qsizetype more = qsizetype(learner.lists.size()) + learner.listsLeftOut - names.size(); more > 0)
        out += QStringLiteral("<p class=\"megjegyzes\">…és további %1 szójegyzék. A táblázatban a(z) %2 legutóbb "
                              "gyakorolt szójegyzék áll; a többiek futásai csak a fenti összesítésben "
                              "szerepelnek.</p>\n")
                   .arg(number(more), number(names.size()));
    return out;
}

QString strayLines(const LearnerFigures &learner)
{
    if (learner.strayLineCount == 0)
        return {};
    QString out = QStringLiteral("<div class=\"nem-eredmenysorok\"><p>A naplóban %1 sor nem eredménysor "
                                 "(kézzel szerkesztett vagy sérült); kimaradtak a számokból:</p>\n<ul>\n")
                      .arg(number(learner.strayLineCount));
    for (const StrayLine &line : learner.strayLines)
        out += QStringLiteral("<li><span class=\"sorszam\">%1. sor:</span> <code>%2</code></li>\n")
                   .arg(number(line.lineNumber), html(line.text));
    if (learner.strayLineCount > learner.strayLines.size())
        out += QStringLiteral("<li>… és még %1 sor</li>\n")
                   .arg(number(learner.strayLineCount - learner.strayLines.size()));
    return out + QStringLiteral("</ul></div>\n");
}

// The learner's section, with the picture `svg` unless it is empty.
QString learnerSection(const LearnerFigures &learner, qsizetype index, const QString &svg)
{
    QString out =
        QStringLiteral("<section class=\"tanulo\" id=\"%1\">\n<h2>%2</h2>\n").arg(anchor(index), html(learner.name));
    if (const QString note = logStateNote(learner); !note.isEmpty())
        out += QStringLiteral("<p class=\"megjegyzes\">%1</p>\n").arg(note);
    if (const QString note = readCutNote(learner); !note.isEmpty())
        out += QStringLiteral("<p class=\"megjegyzes\">%1</p>\n").arg(note);
    if (learner.runs == 0) {
        if (learner.logState == LogState::Read)
            out += QStringLiteral("<p>Még nincs rögzített futása.</p>\n");
    } else {
        out += QStringLiteral("<p>%1 futás, %2 hiba, %3 megmutatott válasz, %4 „Csalás volt!” jelű futás.</p>\n")
                   .arg(number(learner.runs), number(learner.wrongAnswers), number(learner.shownAnswers),
                        number(learner.leftEarly));
        if (!svg.isEmpty()) {
            const QString grouping =
                learner.runsPerGroup == 1
                    ? QStringLiteral("Futásonként, a napló sorrendjében; a piros pontok a korán abbahagyott "
                                     "(„Csalás volt!” jelű) futások.")
                    : QStringLiteral("%1 futásonként átlagolva, a napló sorrendjében; piros pont jelzi, ahol "
                                     "korán abbahagyott („Csalás volt!” jelű) futás is volt.")
                          .arg(number(learner.runsPerGroup));
            out += QStringLiteral(
                       "<figure class=\"abra\">\n%1\n<figcaption>Hibák és megmutatott válaszok. %2</figcaption>\n"
                       "</figure>\n")
                       .arg(svg, grouping);
        }
        if (learner.unknownDateRuns > 0)
            out += QStringLiteral("<p class=\"ismeretlen-datum\">Ismeretlen dátumú futások: %1 (a dátumuk nem "
                                  "olvasható; a számokban benne vannak).</p>\n")
                       .arg(number(learner.unknownDateRuns));
        out += QStringLiteral("<h3>Szójegyzékenként</h3>\n") + listTable(learner);
    }
    out += strayLines(learner);
    if (learner.partialLastLine)
        out += QStringLiteral("<p class=\"megjegyzes\">A napló utolsó sora még nem volt teljes (éppen íródott); "
                              "kimaradt.</p>\n");
    return out + QStringLiteral("</section>\n");
}

const char kStyle[] = R"(
body { font-family: "DejaVu Sans", "Liberation Sans", Arial, sans-serif; margin: 1.5em; color: #1a1a1a; }
h1 { margin-bottom: 0.2em; }
table { border-collapse: collapse; margin: 0.8em 0; }
th, td { border: 1px solid #b8b8b8; padding: 0.25em 0.5em; text-align: left; vertical-align: top; }
th { background: #e8eef6; }
td.szam { text-align: right; }
tbody tr:nth-child(even) { background: #f6f8fb; }
section.tanulo { border-top: 2px solid #4a6fa5; margin-top: 1.5em; }
figure { margin: 0.5em 0; }
figure svg { max-width: 100%; height: auto; }
figcaption, .megjegyzes, .ismeretlen-datum { color: #555; font-size: 0.9em; }
.csalas { color: #b00020; }
code { white-space: pre-wrap; }
)";

// Only the lists that the page can show are kept once a log is read: a class of long logs with
// many lists would otherwise hold every list name of every learner at once.
void keepShownLists(LearnerFigures &learner)
{
    if (qsizetype(learner.lists.size()) <= kShownListRows)
        return;
    std::map<QString, ListFigures, std::less<>> kept;
    for (const QString &name : recentListNames(learner, kShownListRows))
        kept.insert(learner.lists.extract(name));
    learner.listsLeftOut += qsizetype(learner.lists.size());
    learner.lists = std::move(kept);
}

// The page's note on what its size left out; learners are named by their place and name.
QString pageSizeNote(bool classPicture, qsizetype firstWithoutPicture, qsizetype firstLeftOut,
                     const ClassReport &report)
{
    const auto from = [&](qsizetype index) {
        return QStringLiteral("A(z) %1. tanulótól (%2) kezdve")
            .arg(number(index + 1), html(shownName(report.learners.at(index).name)));
    };
    QStringList sentences;
    if (!classPicture)
        sentences << QStringLiteral("Az osztály ábrája kimaradt.");
    if (firstWithoutPicture < firstLeftOut)
        sentences << from(firstWithoutPicture) + QStringLiteral(" a tanulók ábrái kimaradtak.");
    if (firstLeftOut < report.learners.size())
        sentences << from(firstLeftOut)
                         + QStringLiteral(
                             " a tanulók részletei kimaradtak; az osztály táblázatában ők is szerepelnek.");
    if (sentences.isEmpty())
        return {};
    return QStringLiteral("<p class=\"megjegyzes meret\">A jelentés legfeljebb %1 MiB, hogy a böngésző gyorsan "
                          "megnyissa. %2</p>\n")
        .arg(number(kMostPageBytes >> 20), sentences.join(u' '));
}

} // namespace

QString logStateNote(const LearnerFigures &learner)
{
    switch (learner.logState) {
    case LogState::Read:
        return {};
    case LogState::Missing:
        return QStringLiteral("Nincs eredménynaplója.");
    case LogState::NameLeadsOutside:
        return QStringLiteral("A neve nem lehet mappanév, ezért nincs eredménynaplója.");
    case LogState::Unreadable:
        return QStringLiteral("Az eredménynaplója nem olvasható, vagy nem eredménynapló.");
    }
    return {};
}

QString shownName(const QString &name)
{
    if (name.size() <= kShownNameChars)
        return name;
    qsizetype cut = kShownNameChars - 1;
    if (name.at(cut - 1).isHighSurrogate())
        --cut; // never half a character
    return name.left(cut) + QStringLiteral("…");
}

QStringList learnersByName(QStringList names)
{
    names.removeDuplicates();
    sortHungarian(names);
    return names;
}

std::optional<ClassReportReading> ClassReportReading::begin(const QString &startDirectory, const QDateTime &madeAt)
{
    const std::optional<QStringList> names = readRegistryNames(startDirectory);
    if (!names)
        return std::nullopt;
    ClassReportReading reading;
    reading.m_report = ClassReport{startDirectory, madeAt, {}, 0, *names};
    reading.m_learners = learnersByName(*names);
    if (reading.m_learners.size() > kMostLearners) {
        reading.m_report.learnersLeftOut = reading.m_learners.size() - kMostLearners;
        reading.m_learners.resize(kMostLearners);
    }
    return reading;
}

void ClassReportReading::readNext()
{
    if (done())
        return;
    const QString &name = m_learners.at(m_report.learners.size());
    m_report.learners.append(readLearnerFigures(m_report.startDirectory, name, m_allowance));
    m_allowance -= m_report.learners.last().bytesRead;
    keepShownLists(m_report.learners.last());
}

std::optional<ClassReport> readClassReport(const QString &startDirectory, const QDateTime &madeAt)
{
    std::optional<ClassReportReading> reading = ClassReportReading::begin(startDirectory, madeAt);
    if (!reading)
        return std::nullopt;
    while (!reading->done())
        reading->readNext();
    return reading->take();
}

bool outputTouchesData(const QString &outputPath, const QString &startDirectory, const QStringList &names)
{
    const QString output = QFileInfo(outputPath).absoluteFilePath();
    const QString start = QFileInfo(startDirectory).absoluteFilePath();
    const QString registry = QFileInfo(registryPath(startDirectory)).absoluteFilePath();
    // A link that another account made, on the way or in the page's place.
    if (platform::leadsThroughRefusedLink(output))
        return true;
    // As named, and with every link resolved.
    for (const auto &[target, root, data] :
         {std::tuple{QDir::cleanPath(output), QDir::cleanPath(start), QDir::cleanPath(registry)},
          std::tuple{resolved(output), resolved(start), resolved(registry)}}) {
        if (target == data || target == root)
            return true;
        for (const QString &name : names) {
            const std::optional<QString> directory = userDirectoryPath(root, name);
            if (directory && within(target, *directory))
                return true;
        }
    }
    return false;
}

bool unfitForThePage(const QString &directory, const QString &startDirectory)
{
    return within(resolved(directory), resolved(startDirectory)) || othersMayWrite(directory);
}

QByteArray classReportHtml(const ClassReport &report, const PictureMaker &learnerPicture,
                           const ClassPictureMaker &classPicture)
{
    const qsizetype learners = report.learners.size();
    qint64 runs = 0;
    for (const LearnerFigures &l : report.learners)
        runs += l.runs;
    QString top = QStringLiteral("<!DOCTYPE html>\n<html lang=\"hu\">\n<head>\n<meta charset=\"utf-8\">\n"
                                 "<title>Vokalindo – eredmények</title>\n<style>%1</style>\n</head>\n<body>\n")
                      .arg(QString::fromUtf8(kStyle));
    top += QStringLiteral("<h1>Eredmények</h1>\n<p class=\"fejlec\">Mappa: <code>%1</code>. Készült: %2. "
                          "%3 tanuló, %4 rögzített futás.</p>\n")
               .arg(html(QDir::toNativeSeparators(report.startDirectory)),
                    report.madeAt.toString(QStringLiteral("yyyy. MM. dd. HH:mm")), number(learners), number(runs));
    if (report.learnersLeftOut > 0)
        top += QStringLiteral("<p class=\"megjegyzes\">A névsorban további %1 tanuló szerepel; a jelentés az első "
                              "%2 tanulóról szól.</p>\n")
                   .arg(number(report.learnersLeftOut), number(kMostLearners));
    const QByteArray head = top.toUtf8();
    const QByteArray end = QByteArrayLiteral("</body>\n</html>\n");

    // The page grows part by part within kMostPageBytes: the top, the class table (whatever the
    // sections, its links only shorten it) and what is kept for the notes come first; pictures while
    // the page has used no more than half of it; then sections while they fit.
    constexpr qint64 kNotesBytes = 8 << 10;
    qint64 used = head.size() + end.size() + kNotesBytes
                  + (QStringLiteral("<h2>Az osztály</h2>\n") + classTable(report, learners)).toUtf8().size();
    QByteArray classFigure;
    bool drawing = true;
    if (const QString svg = classPicture ? classPicture(report.learners) : QString(); !svg.isEmpty()) {
        classFigure =
            QStringLiteral("<figure class=\"abra\" id=\"osztaly-abra\">\n%1\n<figcaption>Tanulónként a rögzített "
                           "futások: a végigvittek és a korán abbahagyott, „Csalás volt!” jelűek.</figcaption>\n"
                           "</figure>\n")
                .arg(svg)
                .toUtf8();
        drawing = used + classFigure.size() <= kMostPageBytes / 2;
        if (drawing)
            used += classFigure.size();
        else
            classFigure.clear();
    }
    const bool classDrawn = drawing;

    QByteArray sections;
    qsizetype firstWithoutPicture = drawing ? learners : 0;
    qsizetype firstLeftOut = learners;
    for (qsizetype i = 0; i < learners; ++i) {
        const LearnerFigures &learner = report.learners.at(i);
        QByteArray section;
        if (drawing && learnerPicture && learner.runs > 0) {
            section = learnerSection(learner, i, learnerPicture(learner)).toUtf8();
            if (used + section.size() > kMostPageBytes / 2) {
                drawing = false;
                firstWithoutPicture = i;
                section.clear();
            }
        }
        if (section.isEmpty())
            section = learnerSection(learner, i, QString()).toUtf8();
        if (used + section.size() > kMostPageBytes) {
            firstLeftOut = i;
            break;
        }
        used += section.size();
        sections += section;
    }
    const QString note = pageSizeNote(classDrawn, firstWithoutPicture, firstLeftOut, report);

    QByteArray page = head;
    page += note.toUtf8();
    page += (QStringLiteral("<h2>Az osztály</h2>\n") + classTable(report, firstLeftOut)).toUtf8();
    page += classFigure;
    page += sections;
    if (firstLeftOut < learners)
        page += note.toUtf8();
    page += end;
    return page;
}
