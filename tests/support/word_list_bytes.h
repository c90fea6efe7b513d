// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// One record of a word-list file, as the program writes it: a note of " " stands for none.
inline QByteArray record(const QByteArray &number, const QByteArray &english, const QByteArray &hungarian,
                         const QByteArray &note = " ")
{
    return number + '\x0E' + english + '\x0E' + hungarian + '\x0E' + note + '\x0E' + "\r\n";
}
