// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A built tool run to its end, its standard output thrown away and its errors kept in a file.
struct MeasuredRun {
    int status = -1;
    QByteArray errors;
    long peakKilobytes = 0; // of this run alone
};
MeasuredRun runMeasured(const QString &program, const QStringList &arguments, const QString &errorsFile);
