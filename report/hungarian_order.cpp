// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/hungarian_order.h"

#include <QList>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// The letters in order; a vowel's accented forms share its place.
constexpr std::array<std::u16string_view, 37> kLetters = {
    u"a",  u"b", u"c",  u"cs", u"d", u"dz", u"dzs", u"e", u"f", u"g", u"gy", u"h", u"i",
    u"j",  u"k", u"l",  u"ly", u"m", u"n",  u"ny",  u"o", u"ö", u"p", u"q",  u"r", u"s",
    u"sz", u"t", u"ty", u"u",  u"ü", u"v",  u"w",   u"x", u"y", u"z", u"zs"};

constexpr int kDigits = 1000; // a number: its value follows
constexpr int kLetterBase = 2000;
constexpr int kOther = 3000; // any other character: its code follows

struct SortKey {
    QList<qint64> primary;
    QList<int> accents;
    QList<int> cases;
};

// The plain letter of an accented Hungarian vowel, and how accented it is.
QChar plainVowel(QChar c, int &accent)
{
    static const QString accented = QStringLiteral("áéíóőúű");
    static const QString plain = QStringLiteral("aeioöuü");
    const qsizetype at = accented.indexOf(c);
    accent = at < 0 ? 0 : 1;
    return at < 0 ? c : plain.at(at);
}

SortKey sortKey(const QString &text)
{
    SortKey key;
    QString folded;
    for (const QChar c : text) {
        int accent = 0;
        const QChar lower = c.toLower();
        folded += plainVowel(lower, accent);
        key.accents.append(accent);
        key.cases.append(lower == c ? 0 : 1);
    }
    for (qsizetype i = 0; i < folded.size();) {
        const QChar c = folded.at(i);
        if (c.isDigit()) {
            qint64 value = 0;
            while (i < folded.size() && folded.at(i).isDigit()) {
                value = std::min<qint64>(value * 10 + folded.at(i).digitValue(), qint64(1) << 50);
                ++i;
            }
            key.primary << kDigits << value;
            continue;
        }
        // The longest letter of the alphabet that starts here.
        int letter = -1;
        qsizetype length = 0;
        for (int l = 0; l < int(kLetters.size()); ++l) {
            const QStringView candidate(kLetters[l].data(), qsizetype(kLetters[l].size()));
            // Most letters do not start with this character: only those that do are compared.
            if (candidate.front() == c && candidate.size() > length
                && QStringView(folded).mid(i).startsWith(candidate)) {
                letter = l;
                length = candidate.size();
            }
        }
        if (letter >= 0) {
            key.primary << kLetterBase + letter;
            i += length;
            continue;
        }
        // Spaces and punctuation before numbers and letters; other letters after them.
        key.primary << (c.isLetter() ? kOther : 0) << c.unicode();
        ++i;
    }
    return key;
}

bool keyLess(const SortKey &a, const SortKey &b)
{
    if (a.primary != b.primary)
        return std::lexicographical_compare(a.primary.begin(), a.primary.end(), b.primary.begin(), b.primary.end());
    if (a.accents != b.accents)
        return std::lexicographical_compare(a.accents.begin(), a.accents.end(), b.accents.begin(), b.accents.end());
    return std::lexicographical_compare(a.cases.begin(), a.cases.end(), b.cases.begin(), b.cases.end());
}

} // namespace

bool hungarianLess(const QString &a, const QString &b)
{
    const SortKey ka = sortKey(a);
    const SortKey kb = sortKey(b);
    if (keyLess(ka, kb))
        return true;
    if (keyLess(kb, ka))
        return false;
    return a < b;
}

void sortHungarian(QStringList &names)
{
    QList<std::pair<SortKey, QString>> keyed;
    keyed.reserve(names.size());
    for (const QString &name : names)
        keyed.append({sortKey(name), name});
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) {
        if (keyLess(a.first, b.first))
            return true;
        if (keyLess(b.first, a.first))
            return false;
        return a.second < b.second;
    });
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = keyed.at(i).second;
}
