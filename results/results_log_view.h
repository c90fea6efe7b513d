// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QListView>

#include <vector>

class LogLineDelegate;
class LogLinesModel;
struct LogLine;

// The results box: a learner's log, one line of the file a row, shown as it is stored. It holds the
// log's bytes as they were read and decodes only the lines on the screen, so that years of records
// cost little more than the file's own size. Read-only: nothing typed there could ever be saved.
// Ctrl+C copies the selected lines.
class ResultsLogView : public QListView {
public:
    explicit ResultsLogView(QWidget *parent = nullptr);

    // Shows these bytes (the code page, any line ends), the first line current.
    void showLog(QByteArray log);
    // Lets go of the log and of what it took.
    void clear();

    // Every line shown, each ended by a line feed but the last.
    QString toPlainText() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // The size of every row: the widest line in the box's font, and the font's line height.
    // It also gives the painter of long lines the advances it measured them with.
    QSize rowSize(QByteArrayView log, const std::vector<LogLine> &lines) const;

    LogLinesModel *m_lines;
    LogLineDelegate *m_delegate;
};
