// SPDX-License-Identifier: GPL-3.0-or-later
// The results viewer with logs of every shape and size: each line as stored, records wider than the
// box, the keys, and what "Vissza" leaves behind.
#include "support/file_helpers.h"
#include "support/form_harness.h"

#include "results/results_log_view.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

namespace {

const QByteArray kHeader = logHeader("Anna");

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

    ResultsLogView *viewer() const { return control<ResultsLogView>("Text12"); }
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
    void everyLineIsShownAsStored_data()
    {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QStringList>("lines");
        const QString header = QStringLiteral("Anna Eredményei:");
        QTest::addRow("line ends of every kind")
            << kHeader + "a\nb\rc\r\n\r\n\xF5\xFB" << QStringList{header, "a", "b", "c", "", "őű"};
        QTest::addRow("empty log") << QByteArray() << QStringList{""};
        QTest::addRow("only line ends") << QByteArray("\r\n\n\r") << QStringList{"", "", ""};
        for (const qsizetype edge : {qsizetype(64) << 10, qsizetype(256) << 10, qsizetype(512) << 10}) {
            const qsizetype fill = edge - 1 - kHeader.size();
            QTest::addRow("CR LF across byte %lld", qlonglong(edge)) << kHeader + filler(fill) + "\r\n\xE9\r\n"
                                                                     << QStringList{header, QString(filler(fill)), "é"};
            QTest::addRow("letter on byte %lld", qlonglong(edge)) << kHeader + filler(fill) + "\xE1\r\n"
                                                                  << QStringList{header, filler(fill) + "á"};
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
        QCOMPARE(window.viewer()->model()->rowCount(), log.isEmpty() ? 0 : lines.size());
        if (!log.isEmpty())
            QCOMPARE(window.viewer()->currentIndex().row(), 0);
    }

    // Not wrapped, not cut: every record fits its row, and the scroll bar takes the view to the end
    // of the widest, also when a record of fewer but wider letters is the widest.
    void wideRecordsScrollToTheirEnd()
    {
        const QByteArray record = "2026. 12. 07., 9:05:03,  N\xE9v: Anna" + QByteArray(40, ' ').replace(' ', "x,  ");
        const QByteArray wide = QByteArray(150, 'W');
        Viewing window(kHeader + record + "\r\n" + QByteArray(200, 'i') + "\r\n" + wide + "\r\n");
        window.click("Eredméynek_Com");
        ResultsLogView *viewer = window.viewer();
        QCOMPARE(viewer->model()->rowCount(), 4);
        QTRY_VERIFY(viewer->horizontalScrollBar()->maximum() > 0);
        const int margins = 2 * (viewer->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, viewer) + 1);
        for (int row = 0; row < 4; ++row) {
            const QModelIndex index = viewer->model()->index(row, 0);
            QVERIFY2(viewer->fontMetrics().horizontalAdvance(index.data().toString()) + margins
                         <= viewer->visualRect(index).width(),
                     qPrintable(QString::number(row)));
        }
        const QModelIndex widest = viewer->model()->index(3, 0);
        QVERIFY(viewer->visualRect(widest).right() > viewer->viewport()->width());
        viewer->horizontalScrollBar()->setValue(viewer->horizontalScrollBar()->maximum());
        QVERIFY(viewer->visualRect(widest).right() <= viewer->viewport()->width());
        QVERIFY(viewer->visualRect(widest).right() >= viewer->viewport()->width() - 10);
    }

    // Up and down go through the lines, left and right scroll a long record, Ctrl+C copies the
    // lines picked, oldest first; typing changes nothing.
    void readByKeyboard()
    {
        const QByteArray record = "2026. 12. 07.,  N\xE9v: Anna" + QByteArray(300, 'x');
        Viewing window(kHeader + record + "1\r\n" + record + "2\r\n" + record + "3\r\n");
        window.click("Eredméynek_Com");
        ResultsLogView *viewer = window.viewer();
        QCOMPARE(QApplication::focusWidget(), viewer);
        QTest::keyClick(viewer, Qt::Key_Down);
        QTest::keyClick(viewer, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keySequence(viewer, QKeySequence::Copy);
        const QString line = QStringLiteral("2026. 12. 07.,  Név: Anna") + QString(300, QLatin1Char('x'));
        QCOMPARE(QApplication::clipboard()->text(), line + "1\n" + line + "2");
        QTest::keyClick(viewer, Qt::Key_Right);
        QVERIFY(viewer->horizontalScrollBar()->value() > 0);
        QTest::keyClick(viewer, Qt::Key_Left);
        QCOMPARE(viewer->horizontalScrollBar()->value(), 0);
        QTest::keyClick(viewer, Qt::Key_End);
        QCOMPARE(viewer->currentIndex().row(), 3);
        typeText(viewer, QStringLiteral("typed"));
        QTest::keyClick(viewer, Qt::Key_Delete);
        QCOMPARE(window.shownLines().size(), 4);
        QCOMPARE(window.shownLines().at(3), line + "3");
    }

    // "Vissza" lets the log go; the next visit shows the file as it is then.
    void leavingLetsTheLogGo()
    {
        Viewing window(kHeader + "r1\r\n");
        ResultsLogView *viewer = window.viewer();
        window.click("Eredméynek_Com");
        QCOMPARE(viewer->model()->rowCount(), 2);

        window.click("Eredm_Kilép_Com");
        QCOMPARE(viewer->model()->rowCount(), 0);

        writeFile(window.path(QStringLiteral("Anna/Anna.log")), kHeader + "r1\r\nr2\r\n");
        window.click("Eredméynek_Com");
        QCOMPARE(window.shownLines(), (QStringList{QStringLiteral("Anna Eredményei:"), "r1", "r2"}));
    }
};

QTEST_MAIN(TestResultsViewer)
#include "test_results_viewer.moc"
