// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Names in the order of the Hungarian alphabet, as a class register lists them: accented vowels
// beside their plain ones (a, á), ö and ü as letters of their own after o and u, the double
// letters cs, dz, dzs, gy, ly, ny, sz, ty, zs after their first letter (Cukor before Csaba), and
// numbers by value (Anna 2 before Anna 10). Accents then case only break ties.
bool hungarianLess(const QString &a, const QString &b);

void sortHungarian(QStringList &names);
