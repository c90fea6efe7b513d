// The results log: a record for every practice run left with "Vissza", and the viewer.
#include "app/main_window.h"

#include "failures/failure_codes.h"
#include "app/screens.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/dialogs.h"
#include "practice/practice_run.h"
#include "results/results_log_append.h"
#include "results/results_record.h"

#include <QComboBox>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// Fills the results box with a log as it is read, piece by piece: every line (ended by CR LF, LF or
// a lone CR) as it is stored, in order, the caret at the start. Nothing of the filling can be
// undone; what the learner types afterwards can.
class LogFiller {
public:
    explicit LogFiller(QPlainTextEdit &viewer) : m_viewer(viewer)
    {
        m_viewer.clear();
        m_viewer.document()->setUndoRedoEnabled(false);
        m_end = QTextCursor(m_viewer.document());
        m_end.beginEditBlock();
    }

    // Whole lines go in; the rest waits for the piece that ends its line, so that a CR LF split
    // between two pieces still ends one line, not two.
    void add(const QByteArray &piece)
    {
        m_unfinished += piece;
        const qsizetype lineEnd = m_unfinished.lastIndexOf('\n');
        if (lineEnd < 0)
            return;
        insert(QByteArrayView(m_unfinished).first(lineEnd + 1));
        m_unfinished.remove(0, lineEnd + 1);
    }

    // With the whole log read, its last line goes in too; a log that could not be read leaves the
    // box empty.
    void finish(bool wholeLogRead)
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

private:
    // Decoded a few lines at a time, so that the log is never held decoded beside the box's copy.
    static constexpr qsizetype kDecodedBytes = 64 << 10;

    void insert(QByteArrayView bytes)
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

    QPlainTextEdit &m_viewer;
    QTextCursor m_end;
    QByteArray m_unfinished;
};

} // namespace

void Form1::AppendResultsRecord()
{
    RunFigures figures;
    figures.learner = currentUser;
    figures.listName = listName;
    figures.direction = selectedDirection();
    figures.shownAnswers = m_run ? m_run->shownAnswerCount() : 0;
    figures.wrongAnswers = m_run ? m_run->wrongAnswerCount() : 0;
    figures.pairCount = pairCount;
    figures.allWordsSolved = allWordsSolved;
    const QByteArray record = resultsRecordBytes(figures, m_clock.now(), QLocale::system());
    allWordsSolved = false;
    // The learner is back on the practice setup screen by now; a record that could not be kept
    // must not pass for one that was.
    if (const std::optional<FailureCode> failure = appendResultsRecordToLog(startDirectory, currentUser, record))
        m_dialogs.message(withFailureCode(QStringLiteral("Ismeretlen hiba!"), *failure));
}

// "Eredmények Megtekintése": the log as it is stored; an empty box when there is none.
void Form1::Eredméynek_Com_Click()
{
    hideControls({Eredméynek_Com, Combo1, Command5, Vissza_Com6});
    // Shown before it is filled: the box takes its size while empty. Sized with the log in it, it
    // would lay out every line of years of records at once.
    showControls({Eredm_Kilép_Com, Text12});
    LogFiller filler(*Text12);
    const bool read =
        readResultsLog(startDirectory, currentUser, [&filler](const QByteArray &piece) { filler.add(piece); });
    filler.finish(read);
    // The button that had the focus is gone; the log is what the learner came for.
    Text12->setFocus();
    if (!read)
        m_dialogs.message(withFailureCode(QStringLiteral("Ismeretlen Fájl hiba!"), FailureCode::ResultsLogUnreadable));
}

// "Vissza" on the results screen
void Form1::Eredm_Kilép_Com_Click()
{
    hideControls({Eredm_Kilép_Com, Text12});
    showControls({Eredméynek_Com, Combo1, Command5, Vissza_Com6});
    // The next visit reads the log afresh: the box lets go of this one, and of its undo steps, now.
    Text12->clear();
#ifdef __GLIBC__
    // What the log took lies in the middle of the heap, where malloc would keep it for itself.
    malloc_trim(0);
#endif
}
