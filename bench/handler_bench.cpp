// SPDX-License-Identifier: GPL-3.0-or-later
// Times the window's heaviest handlers, offscreen, from the click or key that starts one to the
// window's answer: "handled" when the event has been delivered and the handler has returned,
// "painted" when the events it left behind (the repaint of what it changed) have been processed
// too. The window is the program's own Form1 with dialogs answered from a script, as in the
// widget tests; the files are real files on disk, written and synced as the program does.
//
// Usage: handler_bench [repetitions]   (200 by default, after 20 untimed ones)
// Prints one row a handler: median, minimum and maximum in milliseconds. Exits non-zero when a
// handler did not do its work, so that a timing never stands for an unexpected dialog or a no-op.
#include "offscreen_bench.h"

#include "support/form_harness.h"
#include "support/word_list_bytes.h"

#include "platform/code_page.h"
#include "platform/files.h"
#include "practice/practice_run.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <vector>

namespace {

struct Pair {
    const char *english; // the answer cell when practising Magyar-Angol; a comma gives several answers
    const char *hungarian;
    const char *note;
};

// A learner's list of 20 pairs: accents, several answers in some cells, notes in some.
const Pair kPairs[] = {
    {"apple", "alma", "gyümölcs"},
    {"pear", "körte", " "},
    {"dog, hound", "kutya", "háziállat"},
    {"cat", "macska", " "},
    {"horse", "ló", "nyáripa"},
    {"bird", "madár", " "},
    {"fish", "hal", " "},
    {"house, home", "ház", " "},
    {"window", "ablak", " "},
    {"door", "ajtó", " "},
    {"chair", "szék", " "},
    {"table", "asztal", " "},
    {"bread", "kenyér", "pék"},
    {"water", "víz", " "},
    {"fire", "tűz", " "},
    {"earth, soil, ground", "föld", "három jelentés"},
    {"tree", "fa", " "},
    {"flower", "virág", " "},
    {"garden", "kert", " "},
    {"bridge", "híd", "Lánchíd"},
};
constexpr int kPairCount = int(sizeof kPairs / sizeof kPairs[0]);
static_assert(kPairCount == 20);

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QByteArray listBytes()
{
    QByteArray bytes;
    for (int i = 0; i < kPairCount; ++i)
        bytes += record(QByteArray::number(i + 1), platform::toCodePage(text(kPairs[i].english)),
                        platform::toCodePage(text(kPairs[i].hungarian)), platform::toCodePage(text(kPairs[i].note)));
    return bytes;
}

const QByteArray kLogHeader = "Anna Eredm\xE9nyei:\r\n";

[[noreturn]] void fail(const QString &what)
{
    offscreen_bench::fail("handler_bench", what);
}

using offscreen_bench::settle;

using offscreen_bench::PaintCounter;

struct Series {
    QString name;
    std::vector<double> handledMs;
    std::vector<double> paintedMs;
    bool repaints = true; // false for the rows without a window
};

int g_repetitions = 200;
constexpr int kWarmUps = 20;

Series measure(const QString &name, const std::function<void()> &prepare, const std::function<void()> &act,
               const std::function<void()> &check)
{
    PaintCounter counter;
    qApp->installEventFilter(&counter);
    Series series{name, {}, {}};
    int withoutPaint = 0;
    for (int i = 0; i < kWarmUps + g_repetitions; ++i) {
        prepare();
        settle();
        counter.paints = 0;
        QElapsedTimer timer;
        timer.start();
        act();
        const qint64 handled = timer.nsecsElapsed();
        settle();
        const qint64 painted = timer.nsecsElapsed();
        check();
        if (counter.paints == 0)
            ++withoutPaint;
        if (i >= kWarmUps) {
            series.handledMs.push_back(double(handled) / 1e6);
            series.paintedMs.push_back(double(painted) / 1e6);
        }
    }
    qApp->removeEventFilter(&counter);
    if (withoutPaint > 0)
        fail(name + QStringLiteral(": %1 of the repetitions painted nothing").arg(withoutPaint));
    return series;
}

Series measureWithoutWindow(const QString &name, const std::function<void()> &act)
{
    Series series{name, {}, {}, false};
    for (int i = 0; i < kWarmUps + g_repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        act();
        const qint64 elapsed = timer.nsecsElapsed();
        if (i >= kWarmUps) {
            series.handledMs.push_back(double(elapsed) / 1e6);
            series.paintedMs.push_back(double(elapsed) / 1e6);
        }
    }
    return series;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A signed-in learner "Anna" on the main menu, with her log and the 20-pair list on disk.
struct Window : FormHarness {
    Window() : FormHarness("Anna\r\n")
    {
        if (!QDir(startDirectory.path()).mkdir(QStringLiteral("Anna")))
            fail(QStringLiteral("cannot make the learner's directory"));
        put(QStringLiteral("Anna/Anna.log"), kLogHeader);
        put(QStringLiteral("Anna/lista.szo"), listBytes());
        if (!start())
            fail(QStringLiteral("start-up failed"));
        pickName(QStringLiteral("Anna"));
        click("Command5");
        settle();
        if (!visible("Új_Com1"))
            fail(QStringLiteral("signing in did not reach the main menu"));
    }

    void put(const QString &relative, const QByteArray &bytes)
    {
        QFile file(path(relative));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            fail(QStringLiteral("cannot write ") + relative);
    }

    QString listPath() const { return path(QStringLiteral("Anna/lista.szo")); }
    QString logPath() const { return path(QStringLiteral("Anna/Anna.log")); }
    bool visible(const char *name) const { return control(name)->isVisible(); }
    QLineEdit *box(const char *name) const { return control<QLineEdit>(name); }

    void noDialogsSoFar() const
    {
        if (dialogs.unexpected != 0 || !dialogs.messages().isEmpty())
            fail(QStringLiteral("a dialog nobody expected: %1").arg(dialogs.messages().join(QStringLiteral(" | "))));
    }

    // Back to the main menu from wherever the last step left the window.
    void toMainMenu()
    {
        if (visible("Tanul_Vissza_Comm"))
            click("Tanul_Vissza_Comm");
        if (visible("Vissza_no_mentComm"))
            click("Vissza_no_mentComm");
        if (!visible("Új_Com1"))
            fail(QStringLiteral("could not get back to the main menu"));
    }

    // The practice setup screen with the list loaded.
    void toPracticeSetup()
    {
        if (visible("Tanul_Vissza_Comm"))
            click("Tanul_Vissza_Comm");
        if (visible("Tanul_Com4"))
            return;
        toMainMenu();
        dialogs.chooseFile(listPath());
        click("Gyak_be_Com2");
        if (!visible("Tanul_Com4"))
            fail(QStringLiteral("loading for practice did not reach the practice setup screen"));
    }

    // A run waiting for an answer (the direction is the start-up one, Magyar-Angol: the answer
    // goes into Text4).
    void toWaitingQuestion()
    {
        if (visible("Tanul_Vissza_Comm") && form->practiceRun() && !form->practiceRun()->isOver())
            return;
        toPracticeSetup();
        click("Tanul_Com4");
        if (!visible("Tanul_Vissza_Comm") || box("Text5")->text().isEmpty())
            fail(QStringLiteral("starting a run showed no question"));
    }
};

// The answer cell of the pair whose Hungarian side is the prompt, split into its answers.
QStringList answersTo(const QString &prompt)
{
    for (const Pair &pair : kPairs) {
        if (text(pair.hungarian) == prompt) {
            QStringList answers = text(pair.english).split(QLatin1Char(','));
            for (QString &answer : answers)
                answer = answer.trimmed();
            return answers;
        }
    }
    fail(QStringLiteral("no pair has the prompt ") + prompt);
}

void printTable(const std::vector<Series> &rows, double targetMs)
{
    std::printf("%-58s %9s %9s %19s %7s\n", "Handler (offscreen, ms)", "handled", "painted", "painted min-max",
                "<5 ms");
    for (const Series &row : rows) {
        const auto [low, high] = std::minmax_element(row.paintedMs.begin(), row.paintedMs.end());
        const double paintedMedian = median(row.paintedMs);
        char range[64];
        std::snprintf(range, sizeof range, "%.3f-%.3f", *low, *high);
        const QByteArray name = row.name.toUtf8();
        // Pad by characters, not bytes: the names hold accented letters.
        const int padding = std::max(0, 58 - int(row.name.size()));
        std::printf("%s%*s %9.3f %9s %19s %7s\n", name.constData(), padding, "", median(row.handledMs),
                    row.repaints ? qPrintable(QString::number(paintedMedian, 'f', 3)) : "-", range,
                    row.repaints ? (paintedMedian < targetMs ? "yes" : "NO") : "");
    }
}

} // namespace

int main(int argc, char *argv[])
{
    offscreen_bench::preferOffscreen();
    QApplication application(argc, argv);
    offscreen_bench::dressLikeTheProgram(application);
    if (argc > 1)
        g_repetitions = std::max(1, std::atoi(argv[1]));

    const QByteArray expectedList = listBytes();
    std::vector<Series> rows;

    {
        Window window;
        rows.push_back(measure(
            QStringLiteral("Save a new 20-pair list over the old (Bevitel Mentése…)"),
            [&] {
                window.toMainMenu();
                window.click("Új_Com1");
                for (const Pair &pair : kPairs) {
                    window.box("Text1")->setText(text(pair.english));
                    window.box("Text2")->setText(text(pair.hungarian));
                    window.box("Text6")->setText(text(pair.note) == QStringLiteral(" ") ? QString() : text(pair.note));
                    window.click("Command3");
                }
                if (window.form->pairCount != kPairCount)
                    fail(QStringLiteral("typing the list gave %1 pairs").arg(window.form->pairCount));
                window.dialogs.chooseFile(window.listPath());
                window.dialogs.answerYesNo(true);
                QFile::remove(window.listPath()); // so that a save that writes nothing is caught
                window.put(QStringLiteral("Anna/lista.szo"), "old");
            },
            [&] { window.click("Command1"); },
            [&] {
                window.noDialogsSoFar();
                if (window.fileBytes(QStringLiteral("Anna/lista.szo")) != expectedList || !window.visible("Új_Com1"))
                    fail(QStringLiteral("saving a new list did not write it"));
            }));
    }
    {
        Window window;
        rows.push_back(measure(
            QStringLiteral("Save an edited 20-pair list (Mentés és Vissza)"),
            [&] {
                window.toMainMenu();
                window.dialogs.chooseFile(window.listPath());
                window.click("Szerkeszt_Comm");
                if (!window.visible("Szerk_kész_Comm"))
                    fail(QStringLiteral("loading for editing failed"));
            },
            [&] { window.click("Szerk_kész_Comm"); },
            [&] {
                window.noDialogsSoFar();
                if (window.fileBytes(QStringLiteral("Anna/lista.szo")) != expectedList || !window.visible("Új_Com1"))
                    fail(QStringLiteral("saving an edited list did not write it back"));
            }));
    }
    {
        Window window;
        rows.push_back(measure(
            QStringLiteral("Load a 20-pair list for practice (Szójegyzék betöltése)"),
            [&] {
                window.toMainMenu();
                window.dialogs.chooseFile(window.listPath());
            },
            [&] { window.click("Gyak_be_Com2"); },
            [&] {
                window.noDialogsSoFar();
                if (window.form->pairCount != kPairCount || !window.visible("Tanul_Com4"))
                    fail(QStringLiteral("loading for practice did not load the list"));
            }));
    }
    {
        Window window;
        rows.push_back(measure(
            QStringLiteral("Load a 20-pair list for editing (Szójegyzék szerkesztése)"),
            [&] {
                window.toMainMenu();
                window.dialogs.chooseFile(window.listPath());
            },
            [&] { window.click("Szerkeszt_Comm"); },
            [&] {
                window.noDialogsSoFar();
                if (window.form->pairCount != kPairCount || !window.visible("Szerk_kész_Comm"))
                    fail(QStringLiteral("loading for editing did not load the list"));
            }));
    }
    {
        Window window;
        rows.push_back(measure(
            QStringLiteral("Start a run of 20 pairs (Tanulás indítása)"), [&] { window.toPracticeSetup(); },
            [&] { window.click("Tanul_Com4"); },
            [&] {
                window.noDialogsSoFar();
                if (!window.visible("Tanul_Vissza_Comm") || window.box("Text5")->text().isEmpty())
                    fail(QStringLiteral("starting a run showed no question"));
            }));
    }
    {
        Window window;
        QString counterBefore;
        rows.push_back(measure(
            QStringLiteral("Check a wrong answer (Enter)"),
            [&] {
                window.toWaitingQuestion();
                typeText(window.box("Text4"), QStringLiteral("rossz"));
                counterBefore = window.box("Text7")->text();
            },
            [&] { QTest::keyClick(window.box("Text4"), Qt::Key_Return); },
            [&] {
                window.noDialogsSoFar();
                if (window.box("Text7")->text() == counterBefore)
                    fail(QStringLiteral("a wrong answer was not counted"));
            }));
    }
    {
        Window window;
        QString lastPrompt;
        int typedOfPrompt = 0;
        qint64 wrongBefore = 0;
        rows.push_back(measure(
            QStringLiteral("Check a right answer (Enter; the next question)"),
            [&] {
                window.toWaitingQuestion();
                const QString prompt = window.box("Text5")->text();
                typedOfPrompt = prompt == lastPrompt ? typedOfPrompt + 1 : 0;
                lastPrompt = prompt;
                const QStringList answers = answersTo(prompt);
                if (typedOfPrompt >= answers.size())
                    fail(QStringLiteral("every answer to %1 was typed and the question stayed").arg(prompt));
                typeText(window.box("Text4"), answers[typedOfPrompt]);
                wrongBefore = window.form->practiceRun()->wrongAnswerCount();
            },
            [&] { QTest::keyClick(window.box("Text4"), Qt::Key_Return); },
            [&] {
                window.noDialogsSoFar();
                if (window.form->practiceRun()->wrongAnswerCount() != wrongBefore)
                    fail(QStringLiteral("a right answer counted as wrong"));
            }));
    }
    {
        Window window;
        qint64 logSize = 0;
        rows.push_back(measure(
            QStringLiteral("Record a run (Vissza on the practice screen)"),
            [&] {
                window.toWaitingQuestion();
                logSize = QFileInfo(window.logPath()).size();
            },
            [&] { window.click("Tanul_Vissza_Comm"); },
            [&] {
                window.noDialogsSoFar();
                if (QFileInfo(window.logPath()).size() <= logSize || !window.visible("Tanul_Com4"))
                    fail(QStringLiteral("leaving the run recorded nothing"));
            }));
    }

    // For comparison: what the disk alone costs, without any window.
    {
        QTemporaryDir directory;
        const QString list = directory.filePath(QStringLiteral("lista.szo"));
        rows.push_back(measureWithoutWindow(QStringLiteral("  disk alone: replace the list file"), [&] {
            if (!platform::writeWholeFileAtomically(list, expectedList))
                fail(QStringLiteral("cannot write ") + list);
        }));
        rows.push_back(measureWithoutWindow(QStringLiteral("  disk alone: read the list file"), [&] {
            if (!platform::readFileStart(list, 1 << 16))
                fail(QStringLiteral("cannot read ") + list);
        }));
        const QString log = directory.filePath(QStringLiteral("Anna.log"));
        QFile file(log);
        if (!file.open(QIODevice::WriteOnly) || file.write(kLogHeader) != kLogHeader.size())
            fail(QStringLiteral("cannot write ") + log);
        file.close();
        const QByteArray line(120, 'x');
        rows.push_back(measureWithoutWindow(QStringLiteral("  disk alone: append a line with fsync"), [&] {
            if (!platform::appendToExistingFile(log, line + "\r\n"))
                fail(QStringLiteral("cannot append to ") + log);
        }));
    }

    std::printf("%d timed repetitions a handler after %d untimed; files in %s\n", g_repetitions, kWarmUps,
                qPrintable(QDir::tempPath()));
    printTable(rows, 5.0);
    return 0;
}
