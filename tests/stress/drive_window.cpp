// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the real window in a given start directory, as a learner would, so that several copies
// can share one directory and a copy can be killed at any moment:
//
//   drive_window START_DIRECTORY [--clock SECONDS] [--repeat N] OPERATION...
//     add NAME              "Új Név Felvétele", the name, Enter
//     record NAME LIST      sign in, load the list for practice, start a run and leave it: one record
//     save NAME LIST TAG    sign in, build the list of that tag (list_versions.h), save it, Yes to overwrite
//     drop PATH             remove a file or a whole directory, as a person might by hand
//     wait                  wait for a line on standard input, so that copies can start operations together
//
// Paths are taken inside the start directory. "%i" in an argument stands for the round, counted
// from 0; the operations are done N times (0: until killed). --clock sets the records' clock to
// that many seconds after a fixed moment, one second more for each record, so that every record of
// every copy is told apart.
//
// Prints "ready" once the window is up ("start-up failed" and the messages shown, if it cannot
// start); then for each operation
//   begin <TAB> op <TAB> key <TAB> stamp
//   done <TAB> op <TAB> key <TAB> stamp <TAB> the messages shown, joined by " | " <TAB> the file trail
// where key is the name, the tag or the path, stamp the date and time text of the record, and the
// file trail what the file layer noted meanwhile (the system error behind a failure, joined by " | ").
#include "list_versions.h"

#include "support/fixed_clock.h"
#include "support/fixed_random.h"
#include "support/form_harness.h"
#include "support/scripted_dialogs.h"

#include "app/main_window.h"
#include "results/results_record.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace {

struct Operation {
    QString kind;
    QStringList arguments;
};

int arityOf(const QString &kind)
{
    if (kind == QLatin1String("wait"))
        return 0;
    if (kind == QLatin1String("add") || kind == QLatin1String("drop"))
        return 1;
    if (kind == QLatin1String("record"))
        return 2;
    if (kind == QLatin1String("save"))
        return 3;
    return -1;
}

// What the file layer noted since the operation began: the system errors behind its failures.
QStringList t_fileTrail;

void keepFileTrail(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (context.category && std::strcmp(context.category, "vokalindo.files") == 0)
        t_fileTrail.append(message.simplified());
    else if (type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
    if (type == QtFatalMsg)
        std::abort();
}

void say(const QStringList &fields)
{
    std::fputs((fields.join(QLatin1Char('\t')) + QLatin1Char('\n')).toUtf8().constData(), stdout);
    std::fflush(stdout);
}

class Driver {
public:
    explicit Driver(const QString &startDirectory, qint64 clockSeconds)
        : m_startDirectory(startDirectory), m_clockStart(clock.at.addSecs(clockSeconds)),
          form(startDirectory, dialogs, random, clock)
    {
    }

    bool start()
    {
        if (!form.Form_Load())
            return false;
        form.show();
        form.activateWindow();
        return QTest::qWaitForWindowActive(&form);
    }

    void run(const Operation &operation, const QStringList &arguments)
    {
        const QString &kind = operation.kind;
        QString stamp;
        if (kind == QLatin1String("record")) {
            clock.at = m_clockStart.addSecs(m_records++);
            stamp = recordDateTimeText(clock.at, QLocale::system());
        }
        const QString key = kind == QLatin1String("save") ? arguments.at(2) : arguments.value(0);
        say({QStringLiteral("begin"), kind, key, stamp});
        t_fileTrail.clear();
        const qsizetype shownBefore = dialogs.shown.size();
        QStringList notes;
        if (kind == QLatin1String("wait")) {
            std::string line;
            std::getline(std::cin, line);
        } else if (kind == QLatin1String("add")) {
            add(arguments.at(0));
        } else if (kind == QLatin1String("drop")) {
            drop(inside(arguments.at(0)));
        } else if (!signIn(arguments.at(0))) {
            notes.append(QStringLiteral("(not listed)"));
        } else {
            if (kind == QLatin1String("record"))
                record(inside(arguments.at(1)));
            else
                save(inside(arguments.at(1)), arguments.at(2));
            click("Név_vált_Com");
        }
        for (qsizetype i = shownBefore; i < dialogs.shown.size(); ++i) {
            if (dialogs.shown.at(i).kind == ScriptedDialogs::Shown::Message)
                notes.append(dialogs.shown.at(i).text.simplified());
        }
        say({QStringLiteral("done"), kind, key, stamp, notes.join(QLatin1String(" | ")),
             t_fileTrail.join(QLatin1String(" | "))});
    }

    QString messages() const
    {
        QStringList texts;
        for (const ScriptedDialogs::Shown &shown : dialogs.shown)
            if (shown.kind == ScriptedDialogs::Shown::Message)
                texts.append(shown.text.simplified());
        return texts.join(QLatin1String(" | "));
    }

private:
    QString inside(const QString &relative) const { return QDir(m_startDirectory).filePath(relative); }

    template <typename Control = QWidget>
    Control *control(const char *name)
    {
        auto *found = form.findChild<Control *>(QString::fromUtf8(name));
        if (!found)
            qFatal("no control named %s", name);
        return found;
    }

    bool visible(const char *name) { return control(name)->isVisibleTo(&form); }
    void click(const char *name) { QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton); }
    void typeInto(const char *name, const QString &text) { typeText(control(name), text); }

    // Picks the name from Combo1's drop-down list as a person does; false when it is not there.
    bool pick(const QString &name)
    {
        auto *combo = control<QComboBox>("Combo1");
        const int index = combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 0)
            return false;
        combo->showPopup();
        QAbstractItemView *list = combo->view();
        list->setCurrentIndex(list->model()->index(index, 0));
        QTest::keyClick(list, Qt::Key_Return);
        return true;
    }

    // Every operation starts and ends on the user selection screen, "Új Név Felvétele" shown.
    void add(const QString &name)
    {
        click("Command4");
        typeInto("Text11", name);
        QTest::keyClick(control("Text11"), Qt::Key_Return);
        if (!visible("Command4")) {
            // Added: only the list is left; a pick and "Vissza" bring the button back.
            pick(control<QComboBox>("Combo1")->itemText(0));
            click("Vissza_Com6");
        }
    }

    bool signIn(const QString &name)
    {
        if (!pick(name))
            return false;
        click("Command5");
        return true;
    }

    void record(const QString &list)
    {
        dialogs.chooseFile(list);
        click("Gyak_be_Com2");
        if (!visible("Tanul_Com4"))
            return;
        click("Tanul_Com4");
        click("Tanul_Vissza_Comm");
        click("Vissza_no_mentComm");
    }

    void save(const QString &list, const QString &tag)
    {
        click("Új_Com1");
        const ListVersion version = listVersion(tag);
        for (int row = 1; row <= version.pairCount; ++row) {
            typeInto("Text1", version.rows[row][1]);
            typeInto("Text2", version.rows[row][2]);
            click("Command3");
        }
        dialogs.chooseFile(list);
        // Only the overwrite question is ever asked here; an answer left over waits for the next.
        dialogs.answerYesNo(true);
        click("Command1");
        if (visible("Command1"))
            click("Vissza_no_mentComm");
    }

    static void drop(const QString &path)
    {
        if (QFileInfo(path).isDir())
            QDir(path).removeRecursively();
        else
            QFile::remove(path);
    }

    const QString m_startDirectory;
    ScriptedDialogs dialogs;
    FixedRandom random;
    FixedClock clock;
    const QDateTime m_clockStart;
    qint64 m_records = 0;
    Form1 form;
};

[[noreturn]] void usage()
{
    std::fputs("usage: drive_window START_DIRECTORY [--clock SECONDS] [--repeat N] "
               "{add NAME | record NAME LIST | save NAME LIST TAG | drop PATH | wait}...\n",
               stderr);
    std::exit(2);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform warns of every popup it cannot raise; the report is on standard output.
    QLoggingCategory::setFilterRules(QStringLiteral("default.warning=false\nvokalindo.files.info=true"));
    qInstallMessageHandler(keepFileTrail);
    QApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    if (arguments.isEmpty())
        usage();
    const QString startDirectory = arguments.takeFirst();
    qint64 clockSeconds = 0;
    int repeat = 1;
    QList<Operation> operations;
    while (!arguments.isEmpty()) {
        const QString word = arguments.takeFirst();
        if (word == QLatin1String("--clock") && !arguments.isEmpty())
            clockSeconds = arguments.takeFirst().toLongLong();
        else if (word == QLatin1String("--repeat") && !arguments.isEmpty())
            repeat = arguments.takeFirst().toInt();
        else if (const int arity = arityOf(word); arity >= 0 && arguments.size() >= arity) {
            operations.append({word, arguments.mid(0, arity)});
            arguments.remove(0, arity);
        } else {
            usage();
        }
    }

    Driver driver(startDirectory, clockSeconds);
    if (!driver.start()) {
        say({QStringLiteral("start-up failed"), driver.messages()});
        return 1;
    }
    say({QStringLiteral("ready")});
    for (int round = 0; repeat == 0 || round < repeat; ++round) {
        for (const Operation &operation : operations) {
            QStringList roundArguments = operation.arguments;
            for (QString &argument : roundArguments)
                argument.replace(QLatin1String("%i"), QString::number(round));
            driver.run(operation, roundArguments);
        }
    }
    return 0;
}
