// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/kvtml.h"

#include "lists/columns.h"
#include "lists/pair_check.h"

#include <QHash>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

struct Translation {
    QString text;
    QString comment;
};

struct Entry {
    int line = 1;
    QString id;
    QHash<QString, Translation> translations; // by identifier id
};

// An identifier's locale names its language better than its name, which the user may have typed.
QString languageWord(const QString &locale, const QString &name)
{
    const QString language = locale.section(QLatin1Char('_'), 0, 0).section(QLatin1Char('-'), 0, 0);
    return columnNamed(language) != Column::Other ? language : name;
}

void readIdentifier(QXmlStreamReader &xml, QHash<QString, QString> &languages)
{
    const QString id = xml.attributes().value(QLatin1String("id")).toString();
    QString name, locale;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("name"))
            name = xml.readElementText();
        else if (xml.name() == QLatin1String("locale"))
            locale = xml.readElementText();
        else
            xml.skipCurrentElement();
    }
    languages.insert(id, languageWord(locale, name));
}

Translation readTranslation(QXmlStreamReader &xml)
{
    Translation translation;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("text"))
            translation.text = xml.readElementText();
        else if (xml.name() == QLatin1String("comment"))
            translation.comment = xml.readElementText();
        else
            xml.skipCurrentElement();
    }
    return translation;
}

Entry readEntry(QXmlStreamReader &xml)
{
    Entry entry{int(xml.lineNumber()), xml.attributes().value(QLatin1String("id")).toString(), {}};
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("translation")) {
            const QString id = xml.attributes().value(QLatin1String("id")).toString();
            entry.translations.insert(id, readTranslation(xml));
        } else
            xml.skipCurrentElement();
    }
    return entry;
}

// The entry ids of each lesson. Every container is a lesson, a nested one too, in the order they
// begin. Read without recursion, so that no nesting, however deep, can exhaust the stack.
QList<QStringList> readLessons(QXmlStreamReader &xml)
{
    QList<QStringList> lessons;
    QList<qsizetype> open; // the lessons of the containers being read, innermost last
    for (;;) {
        if (!xml.readNextStartElement()) { // the end of a container, of <lessons>, or of the file
            if (open.isEmpty() || xml.hasError())
                return lessons;
            open.removeLast();
        } else if (xml.name() == QLatin1String("container")) {
            open.append(lessons.size());
            lessons.append(QStringList());
        } else if (xml.name() == QLatin1String("entry") && !open.isEmpty()) {
            lessons[open.last()].append(xml.attributes().value(QLatin1String("id")).toString());
            xml.skipCurrentElement();
        } else {
            xml.skipCurrentElement();
        }
    }
}

// The pairs lesson by lesson, each entry in the first lesson that names it, then those of none.
void keepLessonsApart(ImportReading &reading, const QList<Entry> &entries, const QList<QStringList> &lessons)
{
    QHash<QString, qsizetype> entryOfId;
    for (qsizetype index = entries.size() - 1; index >= 0; --index)
        entryOfId.insert(entries[index].id, index); // the first of entries sharing an id
    QList<bool> placed(entries.size(), false);
    QList<WordPair> pairs;
    const auto endList = [&](qsizetype start) {
        if (pairs.size() > start)
            reading.listSizes.append(pairs.size() - start);
    };
    for (const QStringList &lesson : lessons) {
        const qsizetype start = pairs.size();
        for (const QString &id : lesson) {
            const auto found = entryOfId.constFind(id);
            if (found != entryOfId.constEnd() && !placed[*found]) {
                placed[*found] = true;
                pairs.append(reading.pairs[*found]);
            }
        }
        endList(start);
    }
    const qsizetype start = pairs.size();
    for (qsizetype index = 0; index < entries.size(); ++index) {
        if (!placed[index])
            pairs.append(reading.pairs[index]);
    }
    endList(start);
    reading.pairs = pairs;
}

// The ids of English and Hungarian: named by the identifiers, else the first two ids "0" and "1".
std::pair<QString, QString> sideIds(const QHash<QString, QString> &languages)
{
    QStringList ids = languages.keys();
    std::sort(ids.begin(), ids.end(), [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
    QStringList words;
    for (const QString &id : ids)
        words.append(languages.value(id));
    if (const std::optional<ColumnMap> named = columnsNamedBy(words))
        return {ids[named->english], ids[named->hungarian]};
    return {QStringLiteral("0"), QStringLiteral("1")};
}

} // namespace

bool looksLikeXml(const QByteArray &bytes)
{
    qsizetype position = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (position < bytes.size() && QChar::isSpace(uchar(bytes[position])))
        ++position;
    return bytes.mid(position, 1) == "<";
}

ImportReading readKvtml(const QByteArray &bytes)
{
    ImportReading reading;
    QXmlStreamReader xml(bytes);
    QHash<QString, QString> languages;
    QList<Entry> entries;
    QList<QStringList> lessons;
    if (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("kvtml")
            || !xml.attributes().value(QLatin1String("version")).startsWith(u"2")) {
            reading.problems.append({int(xml.lineNumber()), QStringLiteral("nem KVTML 2.0 fájl")});
            return reading;
        }
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("identifiers")) {
                while (xml.readNextStartElement()) {
                    if (xml.name() == QLatin1String("identifier"))
                        readIdentifier(xml, languages);
                    else
                        xml.skipCurrentElement();
                }
            } else if (xml.name() == QLatin1String("entries")) {
                while (xml.readNextStartElement()) {
                    if (xml.name() == QLatin1String("entry"))
                        entries.append(readEntry(xml));
                    else
                        xml.skipCurrentElement();
                }
            } else if (xml.name() == QLatin1String("lessons")) {
                lessons += readLessons(xml);
            } else {
                xml.skipCurrentElement();
            }
        }
    }
    if (xml.hasError()) {
        reading.problems.append(
            {int(xml.lineNumber()), QStringLiteral("a fájl nem ép XML (%1)").arg(xml.errorString())});
        return reading;
    }
    const auto [english, hungarian] = sideIds(languages);
    for (const Entry &entry : entries) {
        const Translation englishSide = entry.translations.value(english);
        const Translation hungarianSide = entry.translations.value(hungarian);
        const QString note = englishSide.comment.isEmpty() ? hungarianSide.comment : englishSide.comment;
        takePair(reading, entry.line, {englishSide.text, hungarianSide.text, note});
    }
    // With every entry a pair, the pairs stand in the entries' order, ready to be regrouped.
    if (reading.problems.isEmpty())
        keepLessonsApart(reading, entries, lessons);
    return reading;
}

QByteArray kvtmlOfLists(const QList<NamedList> &lists, const QString &title)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral("<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">"));
    xml.writeStartElement(QStringLiteral("kvtml"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));
    xml.writeStartElement(QStringLiteral("information"));
    xml.writeTextElement(QStringLiteral("generator"), QStringLiteral("vokalindo-lists"));
    xml.writeTextElement(QStringLiteral("title"), title);
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("identifiers"));
    const QList<std::pair<QString, QString>> identifiers = {{"Angol", "en"}, {"Magyar", "hu"}};
    for (qsizetype id = 0; id < identifiers.size(); ++id) {
        xml.writeStartElement(QStringLiteral("identifier"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(id));
        xml.writeTextElement(QStringLiteral("name"), identifiers[id].first);
        xml.writeTextElement(QStringLiteral("locale"), identifiers[id].second);
        xml.writeEndElement();
    }
    xml.writeEndElement();

    const auto translation = [&xml](int id, const QString &text, const QString &comment) {
        xml.writeStartElement(QStringLiteral("translation"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(id));
        xml.writeTextElement(QStringLiteral("text"), text);
        if (!comment.isEmpty())
            xml.writeTextElement(QStringLiteral("comment"), comment);
        xml.writeEndElement();
    };
    xml.writeStartElement(QStringLiteral("entries"));
    int entryId = 0;
    for (const NamedList &list : lists) {
        for (const WordPair &pair : list.pairs) {
            xml.writeStartElement(QStringLiteral("entry"));
            xml.writeAttribute(QStringLiteral("id"), QString::number(entryId++));
            translation(0, pair.english, pair.note);
            translation(1, pair.hungarian, QString());
            xml.writeEndElement();
        }
    }
    xml.writeEndElement();

    // Each list a lesson, so the trainers show the lists as the teacher made them.
    xml.writeStartElement(QStringLiteral("lessons"));
    entryId = 0;
    for (const NamedList &list : lists) {
        xml.writeStartElement(QStringLiteral("container"));
        xml.writeTextElement(QStringLiteral("name"), list.name);
        xml.writeTextElement(QStringLiteral("inpractice"), QStringLiteral("true"));
        for (qsizetype index = 0; index < list.pairs.size(); ++index) {
            xml.writeEmptyElement(QStringLiteral("entry"));
            xml.writeAttribute(QStringLiteral("id"), QString::number(entryId++));
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}
