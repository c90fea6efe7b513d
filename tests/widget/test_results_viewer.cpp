// The results viewer with logs of every shape and size: each line as stored, a record wider than
// the box, and what "Vissza" leaves behind.
#include "support/file_helpers.h"
#include "support/form_harness.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

namespace {

const QByteArray kHeader = "Anna Eredm\xE9nyei:\r\n";

// Anna picked on the user-selection screen, her log holding the given bytes.
struct Viewing : FormHarness {
    explicit Viewing(const QByteArray &log) : FormHarness("Anna\r\n")
    {
        QDir(startDirectory.path()).mkdir(QStringLiteral("Anna"));
        writeFile(path(QStringLiteral("Anna/Anna.log")), log);
        if (!start())
            qFatal("start-up failed");
        pickName(QStringLiteral("Anna"));
    }

    QPlainTextEdit *viewer() const { return control<QPlainTextEdit>("Text12"); }
    QStringList shownLines() const { return viewer()->toPlainText().split(QLatin1Char('\n')); }
};

QByteArray filler(qsizetype size)
{
    return QByteArray(size, 'x');
}

} // namespace

class TestResultsViewer : public QObject {
    Q_OBJECT

private slots:
    // The log is read and decoded a piece at a time: a line end, a long line or a letter falling on
    // a piece's edge must come out as if the log had been read whole.
    void everyLineIsShownAsStored_data()
    {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QStringList>("lines");
        const QString header = QStringLiteral("Anna Eredményei:");
        QTest::addRow("line ends of every kind")
            << kHeader + "a\nb\rc\r\n\r\n\xF5\xFB" << QStringList{header, "a", "b", "c", "", "őű"};
        for (const qsizetype edge : {qsizetype(64) << 10, qsizetype(256) << 10, qsizetype(512) << 10}) {
            const qsizetype fill = edge - 1 - kHeader.size();
            QTest::addRow("CR LF across byte %lld", qlonglong(edge))
                << kHeader + filler(fill) + "\r\n\xE9\r\n"
                << QStringList{header, QString(filler(fill)), "é", ""};
            QTest::addRow("letter on byte %lld", qlonglong(edge)) << kHeader + filler(fill) + "\xE1\r\n"
                                                                  << QStringList{header, filler(fill) + "á", ""};
        }
        QTest::addRow("lines longer than a piece")
            << kHeader + filler(600 << 10) + "\r\n" + filler(300 << 10)
            << QStringList{header, QString(filler(600 << 10)), QString(filler(300 << 10))};
    }

    void everyLineIsShownAsStored()
    {
        QFETCH(QByteArray, log);
        QFETCH(QStringList, lines);
        Viewing window(log);
        window.click("Eredméynek_Com");
        QCOMPARE(window.shownLines(), lines);
        QCOMPARE(window.viewer()->textCursor().position(), 0);
    }

    // Not wrapped: the scroll bar takes the view to the end of a record wider than the box.
    void aWideRecordScrollsToItsEnd()
    {
        const QByteArray record = "2026. 12. 07., 9:05:03,  N\xE9v: Anna" + QByteArray(40, ' ').replace(' ', "x,  ");
        Viewing window(kHeader + record + "\r\n" + record + "\r\n");
        window.click("Eredméynek_Com");
        QPlainTextEdit *viewer = window.viewer();
        QTRY_VERIFY(viewer->horizontalScrollBar()->maximum() > 0);
        QCOMPARE(viewer->document()->blockCount(), 4);
        QTextCursor lineEnd(viewer->document()->findBlockByNumber(1));
        lineEnd.movePosition(QTextCursor::EndOfBlock);
        QVERIFY(viewer->cursorRect(lineEnd).left() > viewer->viewport()->width());
        viewer->horizontalScrollBar()->setValue(viewer->horizontalScrollBar()->maximum());
        QVERIFY(viewer->cursorRect(lineEnd).right() <= viewer->viewport()->width());
        QCOMPARE(viewer->cursorRect(lineEnd).top(),
                 viewer->cursorRect(QTextCursor(viewer->document()->findBlockByNumber(1))).top());
    }

    // "Vissza" lets the log go (what was typed and its undo steps too); the next visit shows the
    // file as it is then. Loading can never be undone, typing can.
    void leavingLetsTheLogGo()
    {
        Viewing window(kHeader + "r1\r\n");
        QPlainTextEdit *viewer = window.viewer();
        window.click("Eredméynek_Com");
        QVERIFY(!viewer->document()->isUndoAvailable());
        typeText(viewer, QStringLiteral("typed"));
        QVERIFY(viewer->document()->isUndoAvailable());

        window.click("Eredm_Kilép_Com");
        QVERIFY(viewer->document()->isEmpty());
        QVERIFY(!viewer->document()->isUndoAvailable());

        writeFile(window.path(QStringLiteral("Anna/Anna.log")), kHeader + "r1\r\nr2\r\n");
        window.click("Eredméynek_Com");
        const QStringList lines{QStringLiteral("Anna Eredményei:"), "r1", "r2", ""};
        QCOMPARE(window.shownLines(), lines);
        QTest::keySequence(viewer, QKeySequence::Undo);
        QCOMPARE(window.shownLines(), lines);
        typeText(viewer, QStringLiteral("x"));
        QTest::keySequence(viewer, QKeySequence::Undo);
        QCOMPARE(window.shownLines(), lines);
    }
};

QTEST_MAIN(TestResultsViewer)
#include "test_results_viewer.moc"
