// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/list_print.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace {

constexpr int kResolution = 300; // dots an inch
constexpr int kCardsPerPage = 10;
constexpr double kLeft = 15, kWidth = 180; // millimetres

// The pages are drawn in the device's own dots: a PDF's 300 an inch, or whatever a printer has.
double mm(const QPainter &painter, double millimetres)
{
    return millimetres * painter.device()->logicalDpiY() / 25.4;
}

QRectF mmRect(const QPainter &painter, double x, double y, double width, double height)
{
    return {mm(painter, x), mm(painter, y), mm(painter, width), mm(painter, height)};
}

QFont face(double points, bool bold = false, bool italic = false)
{
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    // No ligatures: "fl" stays two letters, as a pupil writes them and a search finds them.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// A cell holds up to 50 characters, perhaps one long word: the text shrinks until it fits its box,
// and breaks inside words only when even the smallest size is too wide.
void text(QPainter &painter, const QRectF &box, const QString &content, const QFont &font,
          int alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    const QRectF inner = box.adjusted(mm(painter, 1.5), 0, -mm(painter, 1.5), 0);
    QFont fitted = font;
    int flags = alignment | Qt::TextWordWrap;
    const auto fits = [&] {
        const QRectF needed = QFontMetricsF(fitted, painter.device()).boundingRect(inner, flags, content);
        return needed.width() <= inner.width() + 0.5 && needed.height() <= inner.height() + 0.5;
    };
    while (!fits() && fitted.pointSizeF() > 6.5)
        fitted.setPointSizeF(fitted.pointSizeF() - 0.5);
    if (!fits())
        flags = alignment | Qt::TextWrapAnywhere;
    painter.setFont(fitted);
    painter.drawText(inner, flags, content);
}

void line(QPainter &painter, double x1, double y1, double x2, double y2, double width = 0.25,
          Qt::PenStyle style = Qt::SolidLine)
{
    painter.setPen(QPen(Qt::black, mm(painter, width), style));
    painter.drawLine(QPointF(mm(painter, x1), mm(painter, y1)), QPointF(mm(painter, x2), mm(painter, y2)));
}

void heading(QPainter &painter, const PrintedPage &page, const QString &instruction)
{
    text(painter, mmRect(painter, kLeft, 14, kWidth, 10), page.title, face(18, true));
    text(painter, mmRect(painter, kLeft, 24, kWidth, 7), QStringLiteral("A szójegyzék neve: %1").arg(page.listName),
         face(12));
    if (!instruction.isEmpty())
        text(painter, mmRect(painter, kLeft, 31, kWidth, 9), instruction, face(9.5, false, true));
}

void footer(QPainter &painter, const PrintedPage &page, int number, int count)
{
    line(painter, kLeft, 283, kLeft + kWidth, 283, 0.15);
    text(painter, mmRect(painter, kLeft, 284, kWidth, 6), page.listName, face(8.5));
    text(painter, mmRect(painter, kLeft, 284, kWidth, 6), QStringLiteral("%1. oldal / %2").arg(number).arg(count),
         face(8.5), Qt::AlignRight | Qt::AlignVCenter);
}

// Rows of a table with its header row; widths in millimetres, cells as the row gives them.
void table(QPainter &painter, double top, double rowHeight, const QList<double> &widths, const QStringList &header,
           const QList<QStringList> &rows)
{
    const auto drawRow = [&](double y, const QStringList &cells, const QFont &font) {
        double x = kLeft;
        for (qsizetype column = 0; column < widths.size(); ++column) {
            text(painter, mmRect(painter, x, y, widths[column], rowHeight), cells.value(column), font);
            x += widths[column];
        }
        line(painter, kLeft, y + rowHeight, kLeft + kWidth, y + rowHeight, 0.15);
    };
    drawRow(top, header, face(10.5, true));
    line(painter, kLeft, top + rowHeight, kLeft + kWidth, top + rowHeight, 0.5);
    for (qsizetype row = 0; row < rows.size(); ++row)
        drawRow(top + rowHeight * (row + 1), rows[row], face(10.5));
}

void drawTable(QPainter &painter, const PrintedPage &page)
{
    heading(painter, page, QString());
    QList<QStringList> rows;
    for (qsizetype index = 0; index < page.pairs.size(); ++index) {
        const WordPair &pair = page.pairs[index];
        rows.append(
            {QString::number(page.firstNumber + index) + QLatin1Char('.'), pair.english, pair.hungarian, pair.note});
    }
    table(painter, 42, 10.5, {11, 55, 55, 59}, {QString(), "Angol", "Magyar", "Megjegyzés"}, rows);
}

void drawTest(QPainter &painter, const PrintedPage &page)
{
    heading(painter, page,
            page.englishShown ? QStringLiteral("Írd a vonalra a szó magyar megfelelőjét!")
                              : QStringLiteral("Írd a vonalra a szó angol megfelelőjét!"));
    text(painter, mmRect(painter, kLeft, 40, kWidth, 8),
         QStringLiteral("Név: ______________________   Osztály: ________   Dátum: ______________"), face(10.5));
    const double top = 52, rowHeight = 11;
    text(painter, mmRect(painter, kLeft + 11, top, 80, rowHeight), page.englishShown ? "Angol" : "Magyar",
         face(10.5, true));
    text(painter, mmRect(painter, kLeft + 91, top, 89, rowHeight), page.englishShown ? "Magyar" : "Angol",
         face(10.5, true));
    for (qsizetype index = 0; index < page.pairs.size(); ++index) {
        const WordPair &pair = page.pairs[index];
        const double y = top + rowHeight * (index + 1);
        text(painter, mmRect(painter, kLeft, y, 11, rowHeight),
             QString::number(page.firstNumber + index) + QLatin1Char('.'), face(10.5));
        text(painter, mmRect(painter, kLeft + 11, y, 80, rowHeight), page.englishShown ? pair.english : pair.hungarian,
             face(10.5));
        line(painter, kLeft + 92, y + rowHeight - 2, kLeft + kWidth, y + rowHeight - 2, 0.2, Qt::DotLine);
    }
}

void drawCards(QPainter &painter, const PrintedPage &page)
{
    heading(painter, page,
            QStringLiteral("Vágd szét a folytonos vonalak mentén, és hajtsd félbe a szaggatott vonalon: "
                           "elöl az angol, hátul a magyar szó."));
    const double top = 42, height = 23.5, half = kWidth / 2;
    for (qsizetype index = 0; index < page.pairs.size(); ++index) {
        const WordPair &pair = page.pairs[index];
        const double y = top + height * index;
        painter.setPen(QPen(Qt::black, mm(painter, 0.25)));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(mmRect(painter, kLeft, y, kWidth, height));
        line(painter, kLeft + half, y, kLeft + half, y + height, 0.25, Qt::DashLine);
        text(painter, mmRect(painter, kLeft, y, half, height), pair.english, face(13, true), Qt::AlignCenter);
        const double noteHeight = pair.note.isEmpty() ? 0 : 8;
        text(painter, mmRect(painter, kLeft + half, y, half, height - noteHeight), pair.hungarian, face(13, true),
             Qt::AlignCenter);
        if (noteHeight > 0)
            text(painter, mmRect(painter, kLeft + half, y + height - noteHeight - 1, half, noteHeight), pair.note,
                 face(8.5, false, true), Qt::AlignCenter);
    }
}

} // namespace

std::optional<PrintKind> printKindNamed(const QString &name)
{
    if (name == QLatin1String("list"))
        return PrintKind::List;
    if (name == QLatin1String("test-en"))
        return PrintKind::TestEnglish;
    if (name == QLatin1String("test-hu"))
        return PrintKind::TestHungarian;
    if (name == QLatin1String("cards"))
        return PrintKind::Cards;
    return std::nullopt;
}

QList<PrintedPage> pagesOf(const QList<NamedList> &lists, PrintKind kind)
{
    QList<PrintedPage> pages;
    for (const NamedList &list : lists) {
        const PrintedPage whole{PageLayout::Table, QStringLiteral("Szójegyzék"), list.name, list.pairs, 1, true};
        switch (kind) {
        case PrintKind::List:
            pages.append(whole);
            break;
        case PrintKind::TestEnglish:
        case PrintKind::TestHungarian: {
            const bool english = kind == PrintKind::TestEnglish;
            pages.append({PageLayout::Test,
                          english ? QStringLiteral("Szódolgozat: angolról magyarra")
                                  : QStringLiteral("Szódolgozat: magyarról angolra"),
                          list.name, list.pairs, 1, english});
            PrintedPage answers = whole;
            answers.title = QStringLiteral("Megoldókulcs");
            pages.append(answers);
            break;
        }
        case PrintKind::Cards:
            for (qsizetype first = 0; first < list.pairs.size(); first += kCardsPerPage)
                pages.append({PageLayout::Cards, QStringLiteral("Hajtogatós szókártyák"), list.name,
                              list.pairs.mid(first, kCardsPerPage), int(first) + 1, true});
            break;
        }
    }
    return pages;
}

void paintPages(QPagedPaintDevice &device, const QList<PrintedPage> &pages)
{
    QPainter painter(&device);
    for (qsizetype index = 0; index < pages.size(); ++index) {
        if (index > 0)
            device.newPage();
        const PrintedPage &page = pages[index];
        painter.setPen(Qt::black);
        switch (page.layout) {
        case PageLayout::Table:
            drawTable(painter, page);
            break;
        case PageLayout::Test:
            drawTest(painter, page);
            break;
        case PageLayout::Cards:
            drawCards(painter, page);
            break;
        }
        footer(painter, page, int(index) + 1, int(pages.size()));
    }
}

QString documentTitleOf(const QList<PrintedPage> &pages)
{
    return pages.isEmpty() ? QString() : pages.first().title + QStringLiteral(" – ") + pages.first().listName;
}

QByteArray pdfOfPages(const QList<PrintedPage> &pages)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setTitle(documentTitleOf(pages));
    writer.setCreator(QStringLiteral("vokalindo-lists"));
    paintPages(writer, pages);
    return bytes;
}
