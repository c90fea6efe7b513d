#pragma once

#include <QString>

enum class AddUserOutcome {
    Added,
    NameTaken,   // an entry of that name exists already, or the name cannot be a directory here
    WriteFailed, // the registry or the log could not be written; nothing is left behind
};

// Creates the learner's directory with its results log and appends the name to the registry.
// Either all three happen or none does, so a failed name can be tried again.
AddUserOutcome addUser(const QString &startDirectory, const QString &name);
