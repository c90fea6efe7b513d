// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/list_export.h"

namespace {

// Quoted when a reader would otherwise split it, or trim the spaces it starts or ends with.
QString tableCell(const QString &text, QChar separator)
{
    const bool plain = !text.contains(separator) && !text.contains(QLatin1Char('"'))
                       && (text.isEmpty() || (!text.front().isSpace() && !text.back().isSpace()));
    if (plain)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray tableOfLists(const QList<NamedList> &lists, QChar separator)
{
    QString text =
        QStringList{QStringLiteral("Angol"), QStringLiteral("Magyar"), QStringLiteral("Megjegyzés")}.join(separator)
        + QLatin1String("\r\n");
    for (const NamedList &list : lists) {
        for (const WordPair &pair : list.pairs) {
            text += tableCell(pair.english, separator) + separator + tableCell(pair.hungarian, separator) + separator
                    + tableCell(pair.note, separator) + QLatin1String("\r\n");
        }
    }
    return text.toUtf8();
}

} // namespace

QByteArray tsvOfLists(const QList<NamedList> &lists)
{
    return tableOfLists(lists, QLatin1Char('\t'));
}

QByteArray csvOfLists(const QList<NamedList> &lists)
{
    return "\xEF\xBB\xBF" + tableOfLists(lists, QLatin1Char(';'));
}
