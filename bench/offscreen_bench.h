// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/program_font.h"
#include "app/translations.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QString>

#include <cstdio>
#include <cstdlib>

// What the offscreen benchmarks share: stopping with a reason, letting the window finish what a
// click set off (painting included) before a clock is read, and counting its paints.
namespace offscreen_bench {

[[noreturn]] inline void fail(const char *program, const QString &what)
{
    std::fprintf(stderr, "%s: %s\n", program, qPrintable(what));
    std::exit(1);
}

// Offscreen unless a platform is asked for; called before the application object is made.
inline void preferOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The style, font and translations the program's own main() sets.
inline void dressLikeTheProgram(QApplication &application)
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setFont(programFont());
    installQtHungarianTranslations(application);
}

inline void settle()
{
    // Twice: painting can post further events (a second update, deferred deletes).
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Counts paint events, so that "painted" is known to include a repaint.
class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace offscreen_bench
