// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/results_log_view.h"

#include "platform/code_page.h"
#include "results/log_lines.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>

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

    QString lineText(int row) const
    {
        const LogLine line = m_lines[std::size_t(row)];
        return platform::fromCodePage(QByteArray::fromRawData(m_log.constData() + line.start, line.length));
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

ResultsLogView::ResultsLogView(QWidget *parent) : QListView(parent), m_lines(new LogLinesModel(this))
{
    setModel(m_lines);
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
