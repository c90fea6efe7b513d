// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The registry init.usr: one learner's name a line, each line ended by CR LF, in the order
// the learners were added.

// How much of the registry is read: far more than a school's names, little enough that a file put
// there by mistake cannot freeze the name list. Names past it are not loaded.
inline constexpr qint64 kRegistryReadLimit = 1 << 20;

// Where the registry of a start directory lies.
QString registryPath(const QString &startDirectory);

// The registry's names as far as it is read (kRegistryReadLimit); a line cut by the limit is left
// out. Nothing when the registry cannot be read.
std::optional<QStringList> readRegistryNames(const QString &startDirectory);

// The registry's start as read with one byte more than the limit: what lies past the limit is
// dropped, with the line it cuts.
QByteArray registryWithinLimit(const QByteArray &registryStart);

// Blank lines are skipped. Lines ended by LF alone, and a last line with no line end, are read
// too, without a stray CR.
QStringList parseUserNames(const QByteArray &registry);

// The bytes to append so that the registry gains the name as its last line. A registry whose
// last line was left without a line end (edited by hand) gets one first, so that name stays whole.
// Only the registry's last byte matters.
QByteArray registryAppendix(const QByteArray &registryEnd, const QString &name);

// A name becomes a directory in the start directory and a line of the registry: it must not
// reach outside that directory, and the code page must hold it.
bool isAcceptableUserName(const QString &name);
