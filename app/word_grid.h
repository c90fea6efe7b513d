#pragma once

#include <QString>
#include <QTableWidget>

// The word-list grid: 21 rows by 4 columns, addressed as a whole. Row 0 and column 0 are the fixed
// header cells (Qt's header sections, so they stay in place while the data cells scroll);
// rows 1-20 and columns 1-3 are data cells.
class WordGrid final : public QTableWidget {
public:
    static constexpr int kRows = 21;
    static constexpr int kColumns = 4;

    explicit WordGrid(QWidget *parent = nullptr);

    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString &text);
    void setColumnWidthInPixels(int column, int pixels);

private:
    QString m_cornerText;
};
