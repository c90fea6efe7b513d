#pragma once

#include <QCoreApplication>
#include <QString>

#include <cstdio>
#include <cstdlib>

// What the offscreen benchmarks share: stopping with a reason, and letting the window finish what
// a click set off (painting included) before a clock is read.
namespace offscreen_bench {

[[noreturn]] inline void fail(const char *program, const QString &what)
{
    std::fprintf(stderr, "%s: %s\n", program, qPrintable(what));
    std::exit(1);
}

inline void settle()
{
    // Twice: painting can post further events (a second update, deferred deletes).
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

} // namespace offscreen_bench
