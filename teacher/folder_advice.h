// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/folder_access.h"
#include "platform/path_state.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What the teacher's window looked at in a class folder to judge its set-up.
struct FolderSnapshot {
    QString directory;
    std::optional<platform::EntryAccess> folder;
    platform::PathState registryState = platform::PathState::There;
    std::optional<platform::EntryAccess> registry;
    std::optional<platform::EntryAccess> lockDirectory;
    struct Learner {
        QString name;
        QString directory;
        std::optional<platform::EntryAccess> access;
    };
    QList<Learner> learners; // those whose directory is there
};

// What is wrong with the folder's set-up, each in plain Hungarian with the command that mends it;
// empty when nothing is. Modes and owners are judged only where the system has them.
QStringList folderAdvice(const FolderSnapshot &snapshot);
