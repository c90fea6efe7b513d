// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/columns.h"

#include <utility>

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

namespace {

enum class Title { English, Hungarian, Note, Word, Meaning, Filler, Unknown };

Title titleWord(const QString &token)
{
    static const QList<std::pair<Title, QStringList>> titles = {
        {Title::English, {"english", "angol", "angolul", "en", "eng"}},
        {Title::Hungarian, {"hungarian", "magyar", "magyarul", "hu", "hun"}},
        {Title::Note,
         {"megjegyzés", "megjegyzések", "megjegyzes", "megj", "note", "notes", "comment", "comments", "remark"}},
        {Title::Word,
         {"word", "words", "szó", "szavak", "szo", "term", "terms", "kifejezés", "kifejezések", "expression",
          "expressions"}},
        {Title::Meaning,
         {"meaning", "meanings", "jelentés", "jelentése", "jelentések", "jelentes", "translation", "translations",
          "fordítás", "fordítások", "definition", "definitions"}},
        {Title::Filler, {"a", "az", "the", "and", "és", "of"}},
    };
    for (const auto &[title, words] : titles) {
        if (words.contains(token))
            return title;
    }
    return Title::Unknown;
}

// The side a cell's title stands for; Unknown when it is not a title, or names both languages.
Title sideTitled(const QString &cell)
{
    QList<Title> found;
    QString token;
    const QString text = cell.toLower() + QLatin1Char(' ');
    for (const QChar character : text) {
        if (character.isLetterOrNumber()) {
            token += character;
            continue;
        }
        if (token.isEmpty())
            continue;
        const Title title = titleWord(std::exchange(token, QString()));
        if (title == Title::Unknown)
            return Title::Unknown;
        found.append(title);
    }
    const bool english = found.contains(Title::English), hungarian = found.contains(Title::Hungarian);
    if (english != hungarian)
        return english ? Title::English : Title::Hungarian;
    if (english)
        return Title::Unknown;
    if (found.contains(Title::Note))
        return Title::Note;
    const bool word = found.contains(Title::Word), meaning = found.contains(Title::Meaning);
    if (word == meaning)
        return Title::Unknown;
    return word ? Title::English : Title::Hungarian;
}

} // namespace

std::optional<ColumnMap> columnsTitledBy(const QStringList &cells)
{
    ColumnMap map{-1, -1, -1};
    for (int index = 0; index < cells.size(); ++index) {
        if (cells[index].trimmed().isEmpty())
            continue;
        int *side = nullptr;
        switch (sideTitled(cells[index])) {
        case Title::English:
            side = &map.english;
            break;
        case Title::Hungarian:
            side = &map.hungarian;
            break;
        case Title::Note:
            side = &map.note;
            break;
        default:
            return std::nullopt;
        }
        if (*side >= 0)
            return std::nullopt;
        *side = index;
    }
    if (map.english < 0 || map.hungarian < 0)
        return std::nullopt;
    return map;
}

ColumnMap columnsInOrder(const QList<int> &usableColumns)
{
    const auto at = [&](int position) { return position < usableColumns.size() ? usableColumns[position] : -1; };
    return {at(0), at(1), at(2)};
}
