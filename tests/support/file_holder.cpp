// SPDX-License-Identifier: GPL-3.0-or-later
// A second program beside a test, for what one process cannot show about another:
//   file_holder hold PATH MILLISECONDS   keeps PATH open for reading and writing, as an editor on
//                                        another computer would, then lets it go
//   file_holder create FOLDER COUNT      creates the names 0 … COUNT-1 in FOLDER exclusively, each
//                                        holding this process's ID; prints how many it made
//   file_holder lock FOLDER              takes the folder's turn and ends without giving it back,
//                                        as a killed program does
// Each prints "ready" once it holds what it was asked to hold.
#include "platform/dot_lock.h"
#include "platform/files.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    const QCoreApplication application(argc, argv);
    const QStringList words = QCoreApplication::arguments().mid(1);
    const auto say = [](const QByteArray &line) {
        std::fputs((line + '\n').constData(), stdout);
        std::fflush(stdout);
    };
    if (words.size() == 3 && words[0] == QLatin1String("hold")) {
        QFile file(words[1]);
        if (!file.open(QIODevice::ReadWrite))
            return 1;
        say("ready");
        QThread::msleep(words[2].toULong());
        return 0;
    }
    if (words.size() == 3 && words[0] == QLatin1String("create")) {
        const QByteArray mark = QByteArray::number(QCoreApplication::applicationPid());
        int made = 0;
        for (int name = 0; name < words[2].toInt(); ++name)
            made += platform::createFileExclusively(words[1] + QLatin1Char('/') + QString::number(name), mark)
                    == platform::CreateResult::Created;
        say(QByteArray::number(made));
        return 0;
    }
    if (words.size() == 2 && words[0] == QLatin1String("lock")) {
        const platform::DotLock held(words[1]);
        if (!held.held())
            return 1;
        say("ready");
        std::_Exit(0); // no destructor runs: the turn stays taken
    }
    return 2;
}
