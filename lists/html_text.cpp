// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/html_text.h"

#include <QHash>

namespace {

// The named entities a vocabulary field may hold: the markup ones, the letters of Hungarian and
// its neighbours, and typographic punctuation.
QString namedEntity(const QString &name)
{
    static const QHash<QString, char16_t> entities = {
        {"amp", u'&'},    {"lt", u'<'},     {"gt", u'>'},     {"quot", u'"'},     {"apos", u'\''},  {"nbsp", u' '},
        {"aacute", u'á'}, {"Aacute", u'Á'}, {"eacute", u'é'}, {"Eacute", u'É'},   {"iacute", u'í'}, {"Iacute", u'Í'},
        {"oacute", u'ó'}, {"Oacute", u'Ó'}, {"ouml", u'ö'},   {"Ouml", u'Ö'},     {"uacute", u'ú'}, {"Uacute", u'Ú'},
        {"uuml", u'ü'},   {"Uuml", u'Ü'},   {"auml", u'ä'},   {"Auml", u'Ä'},     {"szlig", u'ß'},  {"ndash", u'–'},
        {"mdash", u'—'},  {"hellip", u'…'}, {"lsquo", u'‘'},  {"rsquo", u'’'},    {"ldquo", u'“'},  {"rdquo", u'”'},
        {"bdquo", u'„'},  {"laquo", u'«'},  {"raquo", u'»'},  {"shy", u'\u00AD'}, {"deg", u'°'},    {"odblac", u'ő'},
        {"Odblac", u'Ő'}, {"udblac", u'ű'}, {"Udblac", u'Ű'},
    };
    const auto found = entities.constFind(name);
    return found == entities.constEnd() ? QString() : QString(QChar(found.value()));
}

// "&#337;", "&#x151;" or "&ouml;" without its "&" and ";"; nothing for what is not an entity.
QString entityText(const QString &body)
{
    if (body.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const bool hex = body.size() > 1 && (body[1] == QLatin1Char('x') || body[1] == QLatin1Char('X'));
        const uint code = body.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        return ok && code > 0 && code <= 0x10FFFF ? QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1)
                                                  : QString();
    }
    return namedEntity(body);
}

bool breaksLine(const QString &tag)
{
    static const QStringList blocks = {"br", "div", "p", "li", "tr", "td", "th", "h1", "h2", "h3", "hr", "ul", "ol"};
    return blocks.contains(tag);
}

} // namespace

QString plainTextOfHtml(const QString &html)
{
    QString text;
    text.reserve(html.size());
    qsizetype position = 0;
    while (position < html.size()) {
        const QChar character = html[position];
        if (character == QLatin1Char('<')) {
            const qsizetype end = html.indexOf(QLatin1Char('>'), position);
            if (end < 0)
                break; // a tag cut off at the end shows nothing
            QString tag = html.mid(position + 1, end - position - 1).trimmed().toLower();
            if (tag.startsWith(QLatin1Char('/')))
                tag.remove(0, 1);
            qsizetype nameEnd = 0;
            while (nameEnd < tag.size() && tag[nameEnd].isLetterOrNumber())
                ++nameEnd;
            tag.truncate(nameEnd);
            if (breaksLine(tag))
                text += QLatin1Char(' ');
            position = end + 1;
            continue;
        }
        if (character == QLatin1Char('&')) {
            const qsizetype end = html.indexOf(QLatin1Char(';'), position);
            if (end > position + 1 && end - position <= 10) {
                const QString decoded = entityText(html.mid(position + 1, end - position - 1));
                if (!decoded.isEmpty()) {
                    text += decoded;
                    position = end + 1;
                    continue;
                }
            }
        }
        text += character;
        ++position;
    }
    // A soft hyphen only shows where a line breaks, which a cell never does.
    text.remove(QChar(0x00AD));
    return text.simplified();
}
