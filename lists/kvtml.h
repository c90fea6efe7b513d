// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lists/word_pair.h"

#include <QByteArray>

// KVTML 2.0, the XML of KDE's vocabulary trainers: <identifiers> say which translation id is which
// language, each <entry> holds a <translation> per id with its <text> and <comment>.
bool looksLikeXml(const QByteArray &bytes);
ImportReading readKvtml(const QByteArray &bytes, qsizetype pairLimit);

// The lists as one file, identifiers "en" and "hu", each list a lesson of its own.
QByteArray kvtmlOfLists(const QList<NamedList> &lists, const QString &title);
