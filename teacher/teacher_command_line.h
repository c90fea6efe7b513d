// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What the teacher's window was asked for on its command line.
struct TeacherRequest {
    bool start = true; // false: print and end with exitStatus
    QString directory; // given with --directory; empty for the configured one
    QString standardOutput;
    QString standardError;
    int exitStatus = 0;
};

TeacherRequest readTeacherArguments(const QStringList &arguments);

// The class folder to open: the one asked for, else the one the computer's settings name, else
// the current directory.
QString folderToOpen(const TeacherRequest &request, const QByteArray &settings, const QString &currentDirectory);
