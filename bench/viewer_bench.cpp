// SPDX-License-Identifier: GPL-3.0-or-later
// Opens a learner's results log in the viewer ("Eredmények Megtekintése") once and leaves it
// ("Vissza"), in the program's own window with dialogs answered from a script, as the widget tests
// do, and reports what a person would notice:
//   - the time from the click to the handler's return ("handled") and to the painted box
//     ("painted");
//   - resident memory (VmRSS) before the click, with the log shown, and after "Vissza"; the peak
//     (VmHWM) up to the moment the log is shown;
//   - the time "Vissza" takes.
// One opening a process, so that the peak belongs to it. Exits non-zero when the box does not hold
// the log line for line, so that a timing never stands for a log that was not shown.
//
// Usage: viewer_bench LOG      (LOG: the learner Anna's results log, Windows-1250, CR LF)
// Prints key=value lines.
#include "offscreen_bench.h"

#include "support/form_harness.h"

#include "results/results_log_view.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

[[noreturn]] void fail(const QString &what)
{
    offscreen_bench::fail("viewer_bench", what);
}

using offscreen_bench::settle;

// A field of /proc/self/status in kB.
long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read /proc/self/status"));
    const QByteArray prefix = QByteArray(field) + ':';
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLong();
    }
    fail(QStringLiteral("no %1 in /proc/self/status").arg(QLatin1String(field)));
}

// CPU time of the whole process: on a busy machine the wall-clock time also holds the waits for a CPU.
double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

using offscreen_bench::PaintCounter;

// The box holds the file line for line. Read and compared a line at a time, so that checking
// leaves the memory figures alone.
void checkShown(const ResultsLogView &viewer, const QString &logPath)
{
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read ") + logPath);
    QStringDecoder decode("windows-1250");
    const QAbstractItemModel &rows = *viewer.model();
    int lines = 0;
    for (QByteArray line = log.readLine(); !line.isEmpty(); line = log.readLine(), ++lines) {
        if (line.endsWith("\r\n"))
            line.chop(2);
        if (lines >= rows.rowCount() || rows.index(lines, 0).data().toString() != decode.decode(line))
            fail(QStringLiteral("line %1 of the log is not shown as it is stored").arg(lines + 1));
    }
    if (rows.rowCount() != lines)
        fail(QStringLiteral("the box holds more than the log's %1 lines").arg(lines));
    std::printf("log_lines=%d\n", lines);
}

} // namespace

int main(int argc, char *argv[])
{
    offscreen_bench::preferOffscreen();
    QApplication application(argc, argv);
    offscreen_bench::dressLikeTheProgram(application);
    if (argc != 2)
        fail(QStringLiteral("usage: viewer_bench LOG"));

    FormHarness window("Anna\r\n");
    const QString log = window.path(QStringLiteral("Anna/Anna.log"));
    if (!QDir(window.startDirectory.path()).mkdir(QStringLiteral("Anna"))
        || !QFile::copy(QString::fromLocal8Bit(argv[1]), log))
        fail(QStringLiteral("cannot put the log in place"));
    if (!window.start())
        fail(QStringLiteral("start-up failed"));
    window.pickName(QStringLiteral("Anna"));
    settle();
    if (!window.control("Eredméynek_Com")->isVisible())
        fail(QStringLiteral("picking the name did not offer the results"));
    auto *viewer = window.control<ResultsLogView>("Text12");

    std::printf("log_bytes=%lld\n", QFile(log).size());
    std::printf("rss_before_kb=%ld\n", statusKb("VmRSS"));
    PaintCounter counter;
    qApp->installEventFilter(&counter);
    const double cpuBefore = processCpuMs();
    QElapsedTimer timer;
    timer.start();
    window.click("Eredméynek_Com");
    const qint64 handled = timer.nsecsElapsed();
    settle();
    const qint64 painted = timer.nsecsElapsed();
    const double cpu = processCpuMs() - cpuBefore;
    qApp->removeEventFilter(&counter);
    std::printf("rss_shown_kb=%ld\nhwm_kb=%ld\n", statusKb("VmRSS"), statusKb("VmHWM"));
    std::printf("handled_ms=%.3f\npainted_ms=%.3f\npainted_cpu_ms=%.3f\n", double(handled) / 1e6, double(painted) / 1e6,
                cpu);
    if (!viewer->isVisible() || counter.paints == 0 || !window.dialogs.messages().isEmpty())
        fail(QStringLiteral("the viewer was not shown and painted"));
    checkShown(*viewer, log);

    timer.restart();
    window.click("Eredm_Kilép_Com");
    settle();
    std::printf("leave_ms=%.3f\n", double(timer.nsecsElapsed()) / 1e6);
    if (viewer->isVisible())
        fail(QStringLiteral("\"Vissza\" left the viewer on the screen"));
    std::printf("rss_after_kb=%ld\n", statusKb("VmRSS"));
    return 0;
}
