// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/results_log_view.h"

#include "platform/code_page.h"
#include "results/log_lines.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>

// The log's bytes and where its lines lie; a line is decoded only when the view asks for it.
class LogLinesModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void setLog(QByteArray log, std::vector<LogLine> lines, QSize rowSize)
    {
        beginResetModel();
        m_lines = std::move(lines);
        m_log = std::move(log);
        m_rowSize = rowSize;
        endResetModel();
    }

    // Every row takes the same size, so the view lays out a long log without asking row by row;
    // a new size lays the rows out anew.
    void setRowSize(QSize rowSize)
    {
        beginResetModel();
        m_rowSize = rowSize;
        endResetModel();
    }

    void clear()
    {
        beginResetModel();
        m_log = QByteArray();
        std::vector<LogLine>().swap(m_lines);
        endResetModel();
    }

    const QByteArray &log() const { return m_log; }
    const std::vector<LogLine> &lines() const { return m_lines; }

    QString lineText(int row) const { return platform::fromCodePage(lineBytes(row)); }

    QByteArray lineBytes(int row) const
    {
        const LogLine line = m_lines[std::size_t(row)];
        return QByteArray::fromRawData(m_log.constData() + line.start, line.length);
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_lines.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return lineText(index.row());
        case Qt::SizeHintRole:
            return m_rowSize;
        default:
            return {};
        }
    }

private:
    QByteArray m_log;
    std::vector<LogLine> m_lines;
    QSize m_rowSize;
};

// Paints a line as the style does, but a very long one (a log without line ends, megabytes in one
// line) only as far as it shows: laying out all of it took seconds for every repaint.
class LogLineDelegate : public QStyledItemDelegate {
public:
    LogLineDelegate(const LogLinesModel *lines, QObject *parent) : QStyledItemDelegate(parent), m_lines(lines) {}

    void setAdvances(const std::array<double, 256> &advance) { m_advance = advance; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QByteArray bytes = m_lines->lineBytes(index.row());
        if (bytes.size() <= kLongLine)
            return QStyledItemDelegate::paint(painter, option, index);
        // The row's background, selection and focus, without the text.
        QStyleOptionViewItem row(option);
        row.features &= ~QStyleOptionViewItem::HasDisplay;
        const QWidget *view = option.widget;
        QStyle *style = view ? view->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &row, painter, view);

        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        const double left = option.rect.left() + margin;
        const QRect shown = view ? static_cast<const QAbstractItemView *>(view)->viewport()->rect() : option.rect;
        qsizetype first = 0;
        double x = left;
        while (first < bytes.size() && x + m_advance[uchar(bytes[first])] < shown.left()) {
            x += m_advance[uchar(bytes[first])];
            ++first;
        }
        qsizetype end = first;
        for (double reach = x; end < bytes.size() && reach <= shown.right(); ++end)
            reach += m_advance[uchar(bytes[end])];
        painter->save();
        painter->setPen(
            option.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(QRectF(x, option.rect.top(), shown.right() - x + 1, option.rect.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          platform::fromCodePage(bytes.mid(first, end - first)));
        painter->restore();
    }

private:
    // Longer than any record; shorter lines are painted whole, exactly as before.
    static constexpr qsizetype kLongLine = 4096;

    const LogLinesModel *m_lines;
    std::array<double, 256> m_advance{};
};

ResultsLogView::ResultsLogView(QWidget *parent)
    : QListView(parent), m_lines(new LogLinesModel(this)), m_delegate(new LogLineDelegate(m_lines, this))
{
    setModel(m_lines);
    setItemDelegate(m_delegate);
    setUniformItemSizes(true);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(ExtendedSelection);
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerPixel);
}

void ResultsLogView::showLog(QByteArray log)
{
    std::vector<LogLine> lines = splitLogLines(log);
    const QSize size = rowSize(log, lines);
    m_lines->setLog(std::move(log), std::move(lines), size);
    if (m_lines->rowCount() > 0)
        selectionModel()->setCurrentIndex(m_lines->index(0), QItemSelectionModel::NoUpdate);
    scrollToTop();
    horizontalScrollBar()->setValue(0);
}

void ResultsLogView::clear()
{
    m_lines->clear();
}

QString ResultsLogView::toPlainText() const
{
    QStringList lines;
    for (int row = 0; row < m_lines->rowCount(); ++row)
        lines.append(m_lines->lineText(row));
    return lines.join(QLatin1Char('\n'));
}

QSize ResultsLogView::rowSize(QByteArrayView log, const std::vector<LogLine> &lines) const
{
    const QFontMetricsF metrics(font());
    std::array<double, 256> advance{};
    for (int byte = 0; byte < 256; ++byte)
        advance[std::size_t(byte)] = metrics.horizontalAdvance(platform::fromCodePage(QByteArray(1, char(byte))));
    m_delegate->setAdvances(advance);
    const double widest = widestLineWidth(log, lines, advance);
    // The item's text margins as the style draws them, and a pixel or two for kerning and rounding.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return QSize(int(std::ceil(widest)) + 2 * margin + 2, int(std::ceil(metrics.height())) + 2);
}

void ResultsLogView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        QModelIndexList selected = selectionModel()->selectedRows();
        if (selected.isEmpty() && currentIndex().isValid())
            selected.append(currentIndex());
        std::sort(selected.begin(), selected.end(),
                  [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
        QStringList lines;
        for (const QModelIndex &index : selected)
            lines.append(m_lines->lineText(index.row()));
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
        event->accept();
        return;
    }
    // A single column: left and right scroll the long records sideways, as in a text box.
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
            horizontalScrollBar()->triggerAction(event->key() == Qt::Key_Left ? QAbstractSlider::SliderSingleStepSub
                                                                              : QAbstractSlider::SliderSingleStepAdd);
            event->accept();
            return;
        }
    }
    QListView::keyPressEvent(event);
}

void ResultsLogView::changeEvent(QEvent *event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        m_lines->setRowSize(rowSize(m_lines->log(), m_lines->lines()));
}
