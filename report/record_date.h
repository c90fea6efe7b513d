// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QStringView>

#include <optional>

// The date at the start of a results record is the short date of whatever locale the program ran
// under. These forms are read:
//   year first:   "2026. 12. 07." (Hungarian), "2026-12-07" (ISO), "2026/12/7"
//   day first:    "07.12.26", "7.12.2026" (German and most of Europe), "07-12-2026", "07/12/2026"
//   month first:  "12/7/26" (American: a slash and a two-digit year), unless the first number
//                 cannot be a month ("25/12/26" is then read day first)
//   month name:   "7 Dec 2026" (the C locale), "7 December 2026"
// Two-digit years 00-69 are 2000-2069, 70-99 are 1970-1999. Anything else, or a day that does not
// exist, gives nothing.
std::optional<QDate> parseRecordDate(QStringView text);
