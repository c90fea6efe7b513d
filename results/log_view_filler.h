#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QTextCursor>

class QPlainTextEdit;

// Fills the results box with a log as it is read, piece by piece: every line (ended by CR LF, LF or
// a lone CR) as it is stored, in order, the caret at the start. Nothing of the filling can be
// undone; what the learner types afterwards can.
class LogFiller {
public:
    explicit LogFiller(QPlainTextEdit &viewer);

    // Whole lines go in; the rest waits for the piece that ends its line, so that a CR LF split
    // between two pieces still ends one line, not two.
    void add(const QByteArray &piece);

    // With the whole log read, its last line goes in too; a log that could not be read leaves the
    // box empty.
    void finish(bool wholeLogRead);

private:
    // Decoded a few lines at a time, so that the log is never held decoded beside the box's copy.
    static constexpr qsizetype kDecodedBytes = 64 << 10;

    void insert(QByteArrayView bytes);

    QPlainTextEdit &m_viewer;
    QTextCursor m_end;
    QByteArray m_unfinished;
};
