#include "results/log_view_filler.h"

#include "platform/code_page.h"

#include <QPlainTextEdit>
#include <QTextDocument>

LogFiller::LogFiller(QPlainTextEdit &viewer) : m_viewer(viewer)
{
    m_viewer.clear();
    m_viewer.document()->setUndoRedoEnabled(false);
    m_end = QTextCursor(m_viewer.document());
    m_end.beginEditBlock();
}

void LogFiller::add(const QByteArray &piece)
{
    m_unfinished += piece;
    const qsizetype lineEnd = m_unfinished.lastIndexOf('\n');
    if (lineEnd < 0)
        return;
    insert(QByteArrayView(m_unfinished).first(lineEnd + 1));
    m_unfinished.remove(0, lineEnd + 1);
}

void LogFiller::finish(bool wholeLogRead)
{
    if (wholeLogRead)
        insert(m_unfinished);
    m_end.endEditBlock();
    if (!wholeLogRead)
        m_viewer.clear();
    m_viewer.document()->setUndoRedoEnabled(true);
    m_viewer.document()->setModified(false);
    m_viewer.moveCursor(QTextCursor::Start);
}

void LogFiller::insert(QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        qsizetype size = bytes.size();
        if (size > kDecodedBytes) {
            // Cut after a line end: a line longer than that goes in whole.
            const qsizetype lineEnd = bytes.first(kDecodedBytes).lastIndexOf('\n');
            const qsizetype longLineEnd = bytes.indexOf('\n', kDecodedBytes);
            size = lineEnd >= 0 ? lineEnd + 1 : longLineEnd >= 0 ? longLineEnd + 1 : bytes.size();
        }
        m_end.insertText(platform::fromCodePage(QByteArray::fromRawData(bytes.data(), size)));
        bytes = bytes.sliced(size);
    }
}
