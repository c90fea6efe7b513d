#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The registry init.usr: one learner's name a line, each line ended by CR LF, in the order
// the learners were added.

// Where the registry of a start directory lies.
QString registryPath(const QString &startDirectory);

// Blank lines are skipped. Lines ended by LF alone, and a last line with no line end, are read
// too, without a stray CR.
QStringList parseUserNames(const QByteArray &registry);

// The bytes to append so that the registry gains the name as its last line. A registry whose
// last line was left without a line end (edited by hand) gets one first, so that name stays whole.
QByteArray registryAppendix(const QByteArray &registry, const QString &name);

// A name becomes a directory in the start directory and a line of the registry: it must not
// reach outside that directory, and the code page must hold it.
bool isAcceptableUserName(const QString &name);
