// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The numbers shown after "Ismeretlen Fájl hiba!" and "Ismeretlen hiba!": one a kind of failure,
// so that a learner who reports one tells us what went wrong. docs/failure-codes.md lists them.
enum class FailureCode : int {
    ListUnreadable = 1,          // the chosen word list cannot be opened or read
    ListRecordNumber = 2,        // a record's number is not 1..20 (0, negative, not a number, above 20)
    ListEmptyField = 3,          // a record holds an empty field
    ListNumberingGap = 4,        // the records leave a row unused inside the list, or use one after it
    ListUnwritable = 5,          // the word list cannot be written
    ListEmptyCell = 6,           // the list to be written has an empty cell
    ResultsLogUnwritable = 7,    // the results log (or the learner's directory) cannot be written
    LearnerWithoutDirectory = 8, // the learner's name cannot name a directory of the start directory
    LearnerNotAdded = 9,         // the registry or the new learner's log could not be written
    ResultsLogUnreadable = 10,   // the results log is there but cannot be read
    ListUnstorableText = 11,     // a cell of the word list holds a control character
    LinkRefused = 12,            // a link that another account may have planted in a shared folder
    LockNotTheTeachers = 13,     // the class folder's lock directory is missing, a link, or a learner's
};

// The message with its code glued on, no space between.
inline QString withFailureCode(const QString &message, FailureCode code)
{
    return message + QString::number(int(code));
}

// "Ismeretlen hiba!" with the code; a failure that only the teacher can mend also says what to ask for.
inline QString unknownFailureMessage(FailureCode code)
{
    QString message = withFailureCode(QStringLiteral("Ismeretlen hiba!"), code);
    if (code == FailureCode::LockNotTheTeachers)
        message += QStringLiteral("\n\nA közös mappából hiányzik a .vokalindo-lock mappa, vagy nem a tanár hozta "
                                  "létre. Kérd meg a tanárt, hogy a telepítési leírás szerint hozza létre "
                                  "(a régit előbb törölve).");
    return message;
}
