// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/kvtml.h"

#include "lists/columns.h"
#include "lists/pair_check.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QHash>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

// An element's text as far as it is kept (kKeptCellLength), and its whole length.
struct CutText {
    QString kept;
    qsizetype length = 0;
};

struct Translation {
    CutText text;
    CutText comment;
};

struct Entry {
    int line = 1;
    QString id;
    Translation english;
    Translation hungarian;
};

// As readElementText, but a text of megabytes is not copied whole: only its start is kept.
CutText readText(QXmlStreamReader &xml)
{
    CutText text;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference: {
            const QStringView part = xml.text();
            text.kept += part.first(std::min(part.size(), kKeptCellLength - text.kept.size()));
            text.length += part.size();
            break;
        }
        case QXmlStreamReader::EndElement:
            return text;
        case QXmlStreamReader::StartElement:
            xml.raiseError(QCoreApplication::translate("QXmlStream", "Expected character data."));
            return text;
        default: // comments and processing instructions
            break;
        }
    }
    return text;
}

// Hands each child element named `name` to `read`, and skips the others.
template <typename Read>
void readChildren(QXmlStreamReader &xml, QLatin1StringView name, Read read)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == name)
            read();
        else
            xml.skipCurrentElement();
    }
}

// Reads up to the root element. A DTD that declares entities is refused before any of them is used:
// a few hundred kilobytes of references to one long entity expand to gigabytes, and the trainers'
// files never declare any.
bool openKvtml(QXmlStreamReader &xml, ImportReading &reading)
{
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::DTD
            && (!xml.entityDeclarations().isEmpty() || xml.text().contains(QLatin1String("<!ENTITY")))) {
            addProblem(reading, int(xml.lineNumber()),
                       QStringLiteral("a fájl DTD-je entitásokat deklarál (<!ENTITY); a szótanulók KVTML-fájljai "
                                      "nem használnak ilyet"));
            return false;
        }
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == QLatin1String("kvtml")
                && xml.attributes().value(QLatin1String("version")).startsWith(u"2"))
                return true;
            addProblem(reading, int(xml.lineNumber()), QStringLiteral("nem KVTML 2.0 fájl"));
            return false;
        }
    }
    return true; // the error is the caller's to tell
}

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
            name = readText(xml).kept;
        else if (xml.name() == QLatin1String("locale"))
            locale = readText(xml).kept;
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
            translation.text = readText(xml);
        else if (xml.name() == QLatin1String("comment"))
            translation.comment = readText(xml);
        else
            xml.skipCurrentElement();
    }
    return translation;
}

// The entry's two sides; of translations sharing an id, the last.
Entry readEntry(QXmlStreamReader &xml, const QString &english, const QString &hungarian)
{
    Entry entry{int(xml.lineNumber()), xml.attributes().value(QLatin1String("id")).toString(), {}, {}};
    while (xml.readNextStartElement()) {
        const QStringView id = xml.attributes().value(QLatin1String("id"));
        if (xml.name() == QLatin1String("translation") && (id == english || id == hungarian))
            (id == english ? entry.english : entry.hungarian) = readTranslation(xml);
        else
            xml.skipCurrentElement();
    }
    return entry;
}

// The pairs of each lesson, by their places among the pairs. Every container is a lesson, a nested
// one too, in the order they begin. Read without recursion, so that no nesting, however deep, can
// exhaust the stack.
void readLessons(QXmlStreamReader &xml, const QHash<QString, qsizetype> &pairOfId, QList<QList<qsizetype>> &lessons)
{
    QList<qsizetype> open; // the lessons of the containers being read, innermost last
    for (;;) {
        if (!xml.readNextStartElement()) { // the end of a container, of <lessons>, or of the file
            if (open.isEmpty() || xml.hasError())
                return;
            open.removeLast();
        } else if (xml.name() == QLatin1String("container")) {
            open.append(lessons.size());
            lessons.append(QList<qsizetype>());
        } else if (xml.name() == QLatin1String("entry") && !open.isEmpty()) {
            const auto found = pairOfId.constFind(xml.attributes().value(QLatin1String("id")).toString());
            if (found != pairOfId.constEnd())
                lessons[open.last()].append(*found);
            xml.skipCurrentElement();
        } else {
            xml.skipCurrentElement();
        }
    }
}

// The pairs lesson by lesson, each in the first lesson that names it, then those of none.
void keepLessonsApart(ImportReading &reading, const QList<QList<qsizetype>> &lessons)
{
    QList<bool> placed(reading.pairs.size(), false);
    QList<WordPair> pairs;
    const auto endList = [&](qsizetype start) {
        if (pairs.size() > start)
            reading.listSizes.append(pairs.size() - start);
    };
    for (const QList<qsizetype> &lesson : lessons) {
        const qsizetype start = pairs.size();
        for (const qsizetype index : lesson) {
            if (!placed[index]) {
                placed[index] = true;
                pairs.append(reading.pairs[index]);
            }
        }
        endList(start);
    }
    const qsizetype start = pairs.size();
    for (qsizetype index = 0; index < reading.pairs.size(); ++index) {
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

// A reader of the bytes through a device: given the bytes themselves, the reader would decode them
// whole at once and hold them twice.
class KvtmlReader : public QXmlStreamReader {
public:
    explicit KvtmlReader(const QByteArray &bytes)
    {
        device.setData(bytes);
        device.open(QIODevice::ReadOnly);
        setDevice(&device);
    }

private:
    QBuffer device;
};

// Three passes over the bytes, so that only what is needed is held: the identifiers, which say which
// translation is which side, with the whole document checked; the entries, each checked as it is
// read; the lessons, whose entries are looked up among the pairs kept.
ImportReading readKvtml(const QByteArray &bytes, qsizetype pairLimit)
{
    ImportReading reading;
    reading.pairLimit = pairLimit;
    QHash<QString, QString> languages;
    {
        KvtmlReader xml(bytes);
        if (!openKvtml(xml, reading))
            return reading;
        readChildren(xml, QLatin1StringView("identifiers"), [&] {
            readChildren(xml, QLatin1StringView("identifier"), [&] { readIdentifier(xml, languages); });
        });
        if (xml.hasError()) {
            addProblem(reading, int(xml.lineNumber()), QStringLiteral("a fájl nem ép XML (%1)").arg(xml.errorString()));
            return reading;
        }
    }
    const auto [english, hungarian] = sideIds(languages);
    QStringList keptIds; // of the pairs kept, in the same order
    {
        KvtmlReader xml(bytes);
        openKvtml(xml, reading);
        readChildren(xml, QLatin1StringView("entries"), [&] {
            readChildren(xml, QLatin1StringView("entry"), [&] {
                const Entry entry = readEntry(xml, english, hungarian);
                const Translation &englishSide = entry.english;
                const Translation &hungarianSide = entry.hungarian;
                const CutText &note = englishSide.comment.length == 0 ? hungarianSide.comment : englishSide.comment;
                const qsizetype kept = reading.pairs.size();
                takePair(reading, entry.line, {englishSide.text.kept, hungarianSide.text.kept, note.kept},
                         {englishSide.text.length, hungarianSide.text.length, note.length});
                if (reading.pairs.size() > kept)
                    keptIds.append(entry.id);
            });
        });
        // An element inside a text is found only now.
        if (xml.hasError()) {
            ImportReading broken;
            addProblem(broken, int(xml.lineNumber()), QStringLiteral("a fájl nem ép XML (%1)").arg(xml.errorString()));
            return broken;
        }
    }
    // With a problem, or more pairs than were kept, nothing is written: the lessons do not matter.
    if (reading.problemCount > 0 || reading.pairs.size() < reading.pairCount)
        return reading;
    QHash<QString, qsizetype> pairOfId;
    for (qsizetype index = keptIds.size() - 1; index >= 0; --index)
        pairOfId.insert(keptIds[index], index); // the first of entries sharing an id
    QList<QList<qsizetype>> lessons;
    {
        KvtmlReader xml(bytes);
        openKvtml(xml, reading);
        readChildren(xml, QLatin1StringView("lessons"), [&] { readLessons(xml, pairOfId, lessons); });
    }
    keepLessonsApart(reading, lessons);
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
