// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/record_date.h"

#include <QRegularExpression>
#include <QString>

#include <array>

namespace {

int fullYear(QStringView digits)
{
    const int year = digits.toInt();
    if (digits.size() > 2)
        return year;
    return year < 70 ? 2000 + year : 1900 + year;
}

std::optional<QDate> validDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

int monthFromName(QStringView name)
{
    static constexpr std::array<const char *, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                             "jul", "aug", "sep", "oct", "nov", "dec"};
    static constexpr std::array<const char *, 12> kFull = {"january",   "february", "march",    "april",
                                                           "may",       "june",     "july",     "august",
                                                           "september", "october",  "november", "december"};
    const QString lower = name.toString().toLower();
    for (int i = 0; i < 12; ++i) {
        if (lower == QLatin1String(kMonths[i]) || lower == QLatin1String(kFull[i]))
            return i + 1;
    }
    if (lower == QLatin1String("sept"))
        return 9;
    return 0;
}

} // namespace

std::optional<QDate> parseRecordDate(QStringView text)
{
    static const QRegularExpression yearFirst(
        QStringLiteral(R"(^(\d{4})\. ?(\d{1,2})\. ?(\d{1,2})\.?$|^(\d{4})([-/])(\d{1,2})\5(\d{1,2})$)"));
    static const QRegularExpression yearLast(QStringLiteral(R"(^(\d{1,2})([./-])(\d{1,2})\2(\d{4}|\d{2})$)"));
    static const QRegularExpression monthName(QStringLiteral(R"(^(\d{1,2}) ([A-Za-z]{3,9})\.? (\d{4})$)"));

    const QStringView trimmed = text.trimmed();
    if (const QRegularExpressionMatch m = yearFirst.match(trimmed); m.hasMatch()) {
        if (m.hasCaptured(1))
            return validDate(m.capturedView(1).toInt(), m.capturedView(2).toInt(), m.capturedView(3).toInt());
        return validDate(m.capturedView(4).toInt(), m.capturedView(6).toInt(), m.capturedView(7).toInt());
    }
    if (const QRegularExpressionMatch m = yearLast.match(trimmed); m.hasMatch()) {
        const int first = m.capturedView(1).toInt();
        const int second = m.capturedView(3).toInt();
        const int year = fullYear(m.capturedView(4));
        const bool americanForm = m.capturedView(2) == u"/" && m.capturedView(4).size() == 2 && first <= 12;
        return americanForm ? validDate(year, first, second) : validDate(year, second, first);
    }
    if (const QRegularExpressionMatch m = monthName.match(trimmed); m.hasMatch()) {
        const int month = monthFromName(m.capturedView(2));
        if (month == 0)
            return std::nullopt;
        return validDate(m.capturedView(3).toInt(), month, m.capturedView(1).toInt());
    }
    return std::nullopt;
}
