// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// The learner's own directory inside the start directory; nothing for a name that could lead
// elsewhere (a hand-edited registry may hold one).
std::optional<QString> userDirectoryPath(const QString &startDirectory, const QString &userName);

// Where the file dialogs start: the learner's own directory, or the start directory when it is
// missing or the name cannot have one.
QString fileDialogDirectory(const QString &startDirectory, const QString &userName);
