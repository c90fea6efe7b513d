// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/word_list_bytes.h"
#include "wordlist/word_list_file.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The word lists the window driver saves. Each tag gives a list of its own, with its own number of
// pairs, so the bytes on disk tell which save wrote them and whether they are one save's whole.
struct ListVersion {
    WordListRows rows{};
    int pairCount = 0;
    QByteArray bytes; // the file, record by record
};

inline ListVersion listVersion(const QString &tag)
{
    int sum = 0;
    for (QChar c : tag)
        sum += c.unicode();
    ListVersion version;
    version.pairCount = 2 + sum % 4;
    for (int row = 1; row <= version.pairCount; ++row) {
        // "ö" is the same byte in Latin-1 and in the code page.
        const QString english = QStringLiteral("pear%1-%2").arg(row).arg(tag);
        const QString hungarian = QStringLiteral("körte%1-%2").arg(row).arg(tag);
        version.rows[row] = {QString::number(row), english, hungarian, QStringLiteral(" ")};
        version.bytes += record(QByteArray::number(row), english.toLatin1(), hungarian.toLatin1());
    }
    return version;
}

// The tag of the save that wrote these bytes, when they are exactly one of the lists above.
inline std::optional<QString> listVersionTag(const QByteArray &bytes)
{
    const WordListReading reading = readWordList(bytes);
    const QString english = reading.rows[1][1];
    if (reading.outcome != ReadOutcome::Complete || !english.startsWith(QLatin1String("pear1-")))
        return std::nullopt;
    const QString tag = english.mid(english.indexOf(QLatin1Char('-')) + 1);
    if (bytes != listVersion(tag).bytes)
        return std::nullopt;
    return tag;
}
