// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report_pictures.h"

#include "report/class_report.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QHorizontalStackedBarSeries>
#include <QLineSeries>
#include <QPainter>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

const QColor kWrongColor(0x2f, 0x5d, 0xa8);
const QColor kShownColor(0xe0, 0x8a, 0x1e);
const QColor kLeftEarlyColor(0xc6, 0x28, 0x28);

// Renders the chart at its size into SVG and gives the <svg> element alone.
QString chartSvg(QChart &chart, const QString &title)
{
    QGraphicsScene scene;
    scene.addItem(&chart);
    QCoreApplication::sendPostedEvents(); // lets the chart lay itself out
    const QSize size = chart.size().toSize();

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(96);
    {
        QPainter painter(&generator);
        painter.setRenderHint(QPainter::Antialiasing);
        scene.render(&painter, QRectF(QPointF(0, 0), size), chart.geometry());
    }
    scene.removeItem(&chart);

    QString svg = QString::fromUtf8(buffer.data());
    const qsizetype start = svg.indexOf(QLatin1String("<svg"));
    svg.remove(0, std::max<qsizetype>(start, 0));
    // The generator gives the size in millimetres; the page lays the picture out in pixels.
    const qsizetype tagEnd = svg.indexOf(u'>');
    QString tag = svg.left(tagEnd);
    static const QRegularExpression millimetres(QStringLiteral(R"(\s(width|height)="[^"]*")"));
    tag.replace(millimetres, QString());
    tag += QStringLiteral(" width=\"%1\" height=\"%2\" role=\"img\"").arg(size.width()).arg(size.height());
    // The title is written here, escaped: the generator would copy it as it is, and it may hold a
    // learner's name.
    svg = tag + QStringLiteral(">\n<title>%1</title>").arg(title.toHtmlEscaped()) + svg.mid(tagEnd + 1);
    svg.remove(QStringLiteral("<title>Qt SVG Document</title>\n"));

    // The painter's state changes leave many empty groups behind.
    static const QRegularExpression emptyGroup(QStringLiteral(R"(<g [^>]*>\s*</g>\s*)"));
    svg.remove(emptyGroup);
    svg.remove(QStringLiteral("<desc>Generated with Qt</desc>\n"));
    // A face the reader's computer may lack falls back to its own sans-serif face.
    static const QRegularExpression fontFamily(QStringLiteral(R"re(font-family="([^"]*)")re"));
    svg.replace(fontFamily, QStringLiteral(R"re(font-family="\1, sans-serif")re"));
    // Every picture names its gradients alike; in one page the names must differ.
    static int pictures = 0;
    ++pictures;
    static const QRegularExpression gradientName(QStringLiteral(R"(\b(id="|url\(#)gradient)"));
    svg.replace(gradientName, QStringLiteral("\\1p%1-gradient").arg(pictures));
    // A CDATA section would end at the first "]]>" of a name and let the rest be read as markup;
    // the page has none.
    return svg.contains(QLatin1String("<![CDATA[")) ? QString() : svg;
}

void setUpChart(QChart &chart, const QSize &size)
{
    chart.setTheme(QChart::ChartThemeLight);
    chart.setAnimationOptions(QChart::NoAnimation);
    chart.setBackgroundRoundness(0);
    chart.setMargins(QMargins(6, 6, 6, 6));
    chart.resize(size);
    QFont font(QStringLiteral("DejaVu Sans"), 8);
    chart.legend()->setFont(font);
    chart.legend()->setAlignment(Qt::AlignBottom);
}

QString groupDate(const RunGroup &group)
{
    return group.firstDate ? group.firstDate->toString(QStringLiteral("yyyy. MM. dd.")) : QStringLiteral("?");
}

} // namespace

QString learnerPictureSvg(const LearnerFigures &learner)
{
    if (learner.groups.isEmpty())
        return {};
    QChart chart;
    setUpChart(chart, QSize(760, 280));

    auto *wrong = new QLineSeries;
    wrong->setName(learner.runsPerGroup == 1 ? QStringLiteral("Hibák") : QStringLiteral("Hibák (átlag)"));
    wrong->setPen(QPen(kWrongColor, 2));
    wrong->setPointsVisible(learner.groups.size() <= 40);
    auto *shown = new QLineSeries;
    shown->setName(learner.runsPerGroup == 1 ? QStringLiteral("Megmutatott válaszok")
                                             : QStringLiteral("Megmutatott válaszok (átlag)"));
    shown->setPen(QPen(kShownColor, 2));
    shown->setPointsVisible(learner.groups.size() <= 40);
    auto *leftEarly = new QScatterSeries;
    leftEarly->setName(QStringLiteral("Csalás volt! (vissza)"));
    leftEarly->setColor(kLeftEarlyColor);
    leftEarly->setBorderColor(kLeftEarlyColor);
    leftEarly->setMarkerSize(7);

    double top = 1;
    for (qsizetype i = 0; i < learner.groups.size(); ++i) {
        const RunGroup &group = learner.groups.at(i);
        const double runs = double(group.runs);
        const double wrongValue = double(group.wrongAnswers) / runs;
        wrong->append(double(i + 1), wrongValue);
        shown->append(double(i + 1), double(group.shownAnswers) / runs);
        if (group.leftEarly > 0)
            leftEarly->append(double(i + 1), wrongValue);
        top = std::max({top, wrongValue, double(group.shownAnswers) / runs});
    }
    chart.addSeries(wrong);
    chart.addSeries(shown);
    chart.addSeries(leftEarly);

    // The time axis: the date of the first run of a few groups.
    auto *time = new QCategoryAxis;
    time->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    time->setRange(0.5, double(learner.groups.size()) + 0.5);
    time->setStartValue(0.5);
    const qsizetype step = std::max<qsizetype>(1, (learner.groups.size() + 5) / 6);
    for (qsizetype i = 0; i < learner.groups.size(); i += step) {
        // A label stands once on the axis: runs of one day share the first one.
        const QString label = groupDate(learner.groups.at(i));
        if (!time->categoriesLabels().contains(label))
            time->append(label, double(i + 1));
    }
    time->setLabelsFont(QFont(QStringLiteral("DejaVu Sans"), 7));
    time->setTitleText(learner.runsPerGroup == 1 ? QStringLiteral("Futások a napló sorrendjében")
                                                 : QStringLiteral("%1 futásonként").arg(learner.runsPerGroup));
    time->setTitleFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    auto *count = new QValueAxis;
    count->setRange(0, std::ceil(top * 1.1));
    count->applyNiceNumbers();
    count->setLabelFormat(QStringLiteral("%.0f"));
    count->setLabelsFont(QFont(QStringLiteral("DejaVu Sans"), 7));
    chart.addAxis(time, Qt::AlignBottom);
    chart.addAxis(count, Qt::AlignLeft);
    for (QAbstractSeries *series : chart.series()) {
        series->attachAxis(time);
        series->attachAxis(count);
    }
    return chartSvg(chart, QStringLiteral("%1 futásai").arg(shownName(learner.name)));
}

QString classPictureSvg(const QList<LearnerFigures> &learners)
{
    bool anyRun = false;
    for (const LearnerFigures &l : learners)
        anyRun = anyRun || l.runs > 0;
    if (!anyRun)
        return {};
    QChart chart;
    // A bar's room for each learner, and room for the scale, its title and the legend however few
    // the learners are.
    setUpChart(chart, QSize(760, int(130 + 24 * learners.size())));

    auto *finished = new QBarSet(QStringLiteral("Végigvitt futások"));
    finished->setColor(kWrongColor);
    finished->setBorderColor(kWrongColor);
    auto *leftEarly = new QBarSet(QStringLiteral("Csalás volt! (vissza)"));
    leftEarly->setColor(kLeftEarlyColor);
    leftEarly->setBorderColor(kLeftEarlyColor);
    QStringList names;
    qint64 most = 1;
    // Top to bottom in name order: a horizontal chart draws its first category at the bottom.
    for (auto it = learners.crbegin(); it != learners.crend(); ++it) {
        *finished << double(it->runs - it->leftEarly);
        *leftEarly << double(it->leftEarly);
        // Axis labels are rich text: a name is shown as written, never read as markup (an <img> in a
        // name would make the chart load the file it names).
        names << shownName(it->name).toHtmlEscaped();
        most = std::max(most, it->runs);
    }
    auto *series = new QHorizontalStackedBarSeries;
    series->append(finished);
    series->append(leftEarly);
    series->setBarWidth(0.7);
    chart.addSeries(series);

    auto *people = new QBarCategoryAxis;
    people->append(names);
    people->setLabelsFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    people->setTruncateLabels(false);
    // A scale of whole runs, in steps of 1, 2 or 5 times a power of ten, with room past the longest
    // bar: Qt's nice numbers mark a few runs 0, 0.5, 1, ..., which read as "0 1 1 2".
    qint64 step = 1;
    for (qint64 power = 1;; power *= 10) {
        if (most <= 25 * power) {
            step = most <= 5 * power ? power : most <= 10 * power ? 2 * power : 5 * power;
            break;
        }
    }
    const qint64 top = (most / step + 1) * step;
    auto *runs = new QValueAxis;
    runs->setRange(0, double(top));
    runs->setTickCount(int(top / step) + 1);
    runs->setLabelFormat(QStringLiteral("%.0f"));
    runs->setTitleText(QStringLiteral("Futások"));
    runs->setLabelsFont(QFont(QStringLiteral("DejaVu Sans"), 7));
    chart.addAxis(people, Qt::AlignLeft);
    chart.addAxis(runs, Qt::AlignBottom);
    series->attachAxis(people);
    series->attachAxis(runs);
    return chartSvg(chart, QStringLiteral("Az osztály futásai"));
}
