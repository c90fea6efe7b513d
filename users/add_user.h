// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

enum class AddUserOutcome {
    Added,
    NameTaken,          // an entry of that name exists already, the name is listed, or it cannot be a directory here
    WriteFailed,        // the directory, the log or the registry line could not be written; nothing is left behind
    LinkRefused,        // as WriteFailed, stopped at a link that another account may have planted
    LockNotTheTeachers, // as WriteFailed: the class folder's lock directory is missing or a learner's
};

// Creates the learner's directory with its results log and appends the name to the registry.
// Either all three happen or none does, so a failed name can be tried again. A process killed in
// the middle leaves either nothing that blocks the name or a listed learner.
AddUserOutcome addUser(const QString &startDirectory, const QString &name);
