#include "app/word_grid.h"

#include <QHeaderView>

WordGrid::WordGrid(QWidget *parent) : QTableWidget(kRows - 1, kColumns - 1, parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
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
        setHorizontalHeaderItem(column - 1, new QTableWidgetItem(text));
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
