// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>
#include <QTableWidget>

// The word-list grid: 21 rows by 4 columns, addressed as a whole. Row 0 and column 0 are the fixed
// header cells (Qt's header sections, so they stay in place while the data cells scroll);
// rows 1-20 and columns 1-3 are data cells.
//
// A click anywhere on the grid reports clickedAnywhere() once, after it has made the clicked data
// cell current; a double-click reports its first click, then cellDoubleClicked() for a data cell.
class WordGrid final : public QTableWidget {
    Q_OBJECT

public:
    static constexpr int kRows = 21;
    static constexpr int kColumns = 4;

    explicit WordGrid(QWidget *parent = nullptr);

    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString &text);
    void setColumnWidthInPixels(int column, int pixels);

    // The current cell in whole-table terms; 0 when no data cell is current.
    int currentGridRow() const;
    int currentGridColumn() const;
    // A data cell's rectangle in the coordinates of the grid's parent.
    QRect cellRectInParent(int row, int column) const;

signals:
    void clickedAnywhere();
    // F2, or Enter on a used row (pair number in column 0): the keyboard's double-click on the
    // current cell.
    void editKeyPressed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The release that ends a double-click is no click of its own.
    bool reportRelease(const QMouseEvent &event);

    QString m_cornerText;
    bool m_releaseEndsDoubleClick = false;
};
