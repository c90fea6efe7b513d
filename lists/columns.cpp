// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/columns.h"

Column columnNamed(const QString &name)
{
    static const QStringList english = {"english", "angol", "en", "eng"};
    static const QStringList hungarian = {"hungarian", "magyar", "hu", "hun"};
    static const QStringList note = {"megjegyzés", "megjegyzések", "megjegyzes", "note",
                                     "notes",      "comment",      "comments"};
    const QString key = name.trimmed().toLower();
    if (english.contains(key))
        return Column::English;
    if (hungarian.contains(key))
        return Column::Hungarian;
    return note.contains(key) ? Column::Note : Column::Other;
}

std::optional<ColumnMap> columnsNamedBy(const QStringList &names)
{
    ColumnMap map{-1, -1, -1};
    int englishCount = 0;
    int hungarianCount = 0;
    for (int index = 0; index < names.size(); ++index) {
        switch (columnNamed(names[index])) {
        case Column::English:
            map.english = index;
            ++englishCount;
            break;
        case Column::Hungarian:
            map.hungarian = index;
            ++hungarianCount;
            break;
        case Column::Note:
            if (map.note < 0)
                map.note = index;
            break;
        case Column::Other:
            break;
        }
    }
    if (englishCount != 1 || hungarianCount != 1)
        return std::nullopt;
    return map;
}

ColumnMap columnsInOrder(const QList<int> &usableColumns)
{
    const auto at = [&](int position) { return position < usableColumns.size() ? usableColumns[position] : -1; };
    return {at(0), at(1), at(2)};
}
