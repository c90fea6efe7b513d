// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/measured_run.h"

#include "support/file_helpers.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

// Waited for by its own process ID, so that the peak memory is the tool's own.
MeasuredRun runMeasured(const QString &program, const QStringList &arguments, const QString &errorsFile)
{
    QList<QByteArray> words{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        words.append(argument.toUtf8());
    QList<char *> argv;
    for (QByteArray &word : words)
        argv.append(word.data());
    argv.append(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, QFile::encodeName(errorsFile).constData(), O_WRONLY | O_CREAT, 0600);
    // A child's peak starts at its parent's, which the exec carries over: the parent's is brought
    // down to what it holds now.
    QFile clearRefs("/proc/self/clear_refs");
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
    clearRefs.close();
    MeasuredRun run;
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        if (wait4(child, &status, 0, &usage) == child && WIFEXITED(status))
            run.status = WEXITSTATUS(status);
        run.peakKilobytes = usage.ru_maxrss;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.errors = fileContents(errorsFile);
    return run;
}
