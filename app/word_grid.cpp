// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/word_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

WordGrid::WordGrid(QWidget *parent) : QTableWidget(kRows - 1, kColumns - 1, parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // Tab leaves the grid for the next control, as it leaves every other one.
    setTabKeyNavigation(false);
    setWordWrap(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionsClickable(false);
    // 240 twips a row: the whole list fits without scrolling.
    verticalHeader()->setMinimumSectionSize(16);
    verticalHeader()->setDefaultSectionSize(16);
    horizontalHeader()->setFixedHeight(16);
    // Clicks on the fixed cells are clicks on the grid too.
    horizontalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->viewport()->installEventFilter(this);
    // Empty header items, so that Qt shows no numbering of its own.
    for (int row = 1; row < kRows; ++row)
        setCellText(row, 0, QString());
    for (int column = 1; column < kColumns; ++column)
        setCellText(0, column, QString());
}

QString WordGrid::cellText(int row, int column) const
{
    Q_ASSERT(row >= 0 && row < kRows && column >= 0 && column < kColumns);
    if (row == 0 && column == 0)
        return m_cornerText;
    const QTableWidgetItem *cell = row == 0      ? horizontalHeaderItem(column - 1)
                                   : column == 0 ? verticalHeaderItem(row - 1)
                                                 : item(row - 1, column - 1);
    return cell ? cell->text() : QString();
}

void WordGrid::setCellText(int row, int column, const QString &text)
{
    Q_ASSERT(row >= 0 && row < kRows && column >= 0 && column < kColumns);
    if (row == 0 && column == 0) {
        m_cornerText = text;
    } else if (row == 0) {
        auto *header = new QTableWidgetItem(text);
        // Read out without the spaces that only push the caption towards the middle of the column.
        header->setData(Qt::AccessibleTextRole, text.trimmed());
        setHorizontalHeaderItem(column - 1, header);
    } else if (column == 0) {
        setVerticalHeaderItem(row - 1, new QTableWidgetItem(text));
    } else if (QTableWidgetItem *cell = item(row - 1, column - 1)) {
        cell->setText(text);
    } else {
        setItem(row - 1, column - 1, new QTableWidgetItem(text));
    }
}

void WordGrid::setColumnWidthInPixels(int column, int pixels)
{
    if (column == 0)
        verticalHeader()->setFixedWidth(pixels);
    else
        setColumnWidth(column - 1, pixels);
}

int WordGrid::currentGridRow() const
{
    return currentIndex().isValid() ? currentIndex().row() + 1 : 0;
}

int WordGrid::currentGridColumn() const
{
    return currentIndex().isValid() ? currentIndex().column() + 1 : 0;
}

QRect WordGrid::cellRectInParent(int row, int column) const
{
    Q_ASSERT(row >= 1 && row < kRows && column >= 1 && column < kColumns);
    const QRect inViewport = visualRect(model()->index(row - 1, column - 1));
    return inViewport.translated(viewport()->geometry().topLeft() + geometry().topLeft());
}

void WordGrid::keyPressEvent(QKeyEvent *event)
{
    const bool onUsedRow = currentGridRow() != 0 && !cellText(currentGridRow(), 0).isEmpty();
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_F2 || (enter && onUsedRow)) {
            emit editKeyPressed();
            return;
        }
    }
    QTableWidget::keyPressEvent(event);
}

// Reached by the keyboard, the grid has a current cell for the arrow keys and F2 to start from.
void WordGrid::focusInEvent(QFocusEvent *event)
{
    QTableWidget::focusInEvent(event);
    if (event->reason() != Qt::MouseFocusReason && !currentIndex().isValid())
        setCurrentCell(0, 0, QItemSelectionModel::NoUpdate);
}

void WordGrid::mousePressEvent(QMouseEvent *event)
{
    // A new press starts a new click, whatever came before.
    m_releaseEndsDoubleClick = false;
    QTableWidget::mousePressEvent(event);
}

void WordGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableWidget::mouseReleaseEvent(event);
    if (reportRelease(*event))
        emit clickedAnywhere();
}

void WordGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_releaseEndsDoubleClick = true;
    QTableWidget::mouseDoubleClickEvent(event);
}

bool WordGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        m_releaseEndsDoubleClick = false;
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        m_releaseEndsDoubleClick = true;
    } else if (event->type() == QEvent::MouseButtonRelease && reportRelease(*static_cast<QMouseEvent *>(event))) {
        emit clickedAnywhere();
    }
    return QTableWidget::eventFilter(watched, event);
}

bool WordGrid::reportRelease(const QMouseEvent &event)
{
    if (event.button() != Qt::LeftButton)
        return false;
    if (m_releaseEndsDoubleClick) {
        m_releaseEndsDoubleClick = false;
        return false;
    }
    return true;
}
