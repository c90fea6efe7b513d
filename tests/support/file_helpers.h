// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>

#include <QtGlobal>

// Where the two systems promise different things, a test row says which it expects.
#ifdef Q_OS_WIN
inline constexpr bool kOnWindows = true;
#else
inline constexpr bool kOnWindows = false;
#endif

// What a folder holds, hidden entries too, but the directory that the folder's turns keep.
inline QStringList entriesBesideTheLock(const QString &directory)
{
    QStringList names =
        QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    names.removeAll(QStringLiteral(".vokalindo-lock"));
    return names;
}

// The bytes of a file, or "<missing>" when it cannot be read.
inline QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The first line of a learner's results log; the name is given in Windows-1250.
inline QByteArray logHeader(const QByteArray &learner)
{
    return learner + " Eredm\xE9nyei:\r\n";
}

// The registry of a start directory: the learners' names, one a line.
inline QString registryIn(const QString &startDirectory)
{
    return startDirectory + QStringLiteral("/init.usr");
}
