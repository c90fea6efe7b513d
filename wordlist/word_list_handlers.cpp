// SPDX-License-Identifier: GPL-3.0-or-later
// The word list in the grid: loading it from a file, writing it, its name, and leaving a list
// screen without saving.
#include "app/main_window.h"

#include "app/word_grid.h"
#include "failures/failure_codes.h"
#include "failures/link_refusal.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "users/user_directory.h"
#include "wordlist/grid_rows.h"
#include "wordlist/list_name.h"
#include "wordlist/word_list_file.h"

#include <QLabel>

namespace {

const QString kFileEmpty = QStringLiteral("A fájl üres!");
const QString kUnknownFileFailure = QStringLiteral("Ismeretlen Fájl hiba!");

FailureCode failureCodeOf(ReadOutcome outcome)
{
    switch (outcome) {
    case ReadOutcome::BadRecordNumber:
        return FailureCode::ListRecordNumber;
    case ReadOutcome::EmptyField:
        return FailureCode::ListEmptyField;
    case ReadOutcome::UnstorableText:
        return FailureCode::ListUnstorableText;
    case ReadOutcome::NumberingGap:
    default:
        return FailureCode::ListNumberingGap;
    }
}

} // namespace

// Asks for a word list and loads it into the grid. The callers test loadFailed at once.
void Form1::OpenWordList()
{
    loadFailed = false;
    const std::optional<QString> chosen =
        m_dialogs.chooseFileToOpen({fileDialogDirectory(startDirectory, currentUser),
                                    QStringLiteral("Szójegyzék fájlok"), QStringLiteral("*.szo"), QString()});
    if (!chosen) {
        loadFailed = true;
        return;
    }
    wordListPath = *chosen;

    // No row of an earlier list may show under a shorter one.
    ClearGrid();
    // One byte more than a list can hold is enough to tell that it is too long.
    const std::optional<QByteArray> bytes = platform::readFileStart(wordListPath, kMaxWordListFileSize + 1);
    if (!bytes) {
        m_dialogs.message(withFailureCode(kUnknownFileFailure, unlessRefusedLink(FailureCode::ListUnreadable)));
        loadFailed = true;
        return;
    }
    const WordListReading reading = readWordList(*bytes);
    putGridRows(*MSFlexGrid1, reading.rows);
    pairCount = reading.pairCount;
    if (reading.outcome == ReadOutcome::Complete)
        return;
    m_dialogs.message(reading.outcome == ReadOutcome::Empty
                          ? kFileEmpty
                          : withFailureCode(kUnknownFileFailure, failureCodeOf(reading.outcome)));
    loadFailed = true;
}

// Replaces the file at the path with rows 1..pairCount, whole or not at all.
std::optional<FailureCode> Form1::WriteWordListRecords(const QString &path)
{
    const std::optional<QByteArray> bytes = writeWordList(gridRows(*MSFlexGrid1), pairCount);
    if (!bytes)
        return FailureCode::ListEmptyCell;
    if (!platform::writeWholeFileAtomically(path, *bytes))
        return unlessRefusedLink(FailureCode::ListUnwritable);
    return std::nullopt;
}

void Form1::writeListAndFinish(const QString &path)
{
    if (const std::optional<FailureCode> failure = WriteWordListRecords(path)) {
        m_dialogs.message(withFailureCode(QStringLiteral("Ismeretlen hiba!"), *failure));
        return;
    }
    ResetToMainMenu();
    ClearGrid();
}

void Form1::ShowListName()
{
    listName = listNameOf(wordListPath);
    Label4->setText(listName);
}

void Form1::ClearGrid()
{
    putGridRows(*MSFlexGrid1, WordListRows{});
    // No cell of the dropped list stays marked on the next one.
    MSFlexGrid1->setCurrentCell(-1, -1);
    MSFlexGrid1->clearSelection();
}

// "Mégse": the list being built, edited or practised is dropped; no file is touched.
void Form1::Vissza_no_mentComm_Click()
{
    ResetToMainMenu();
    ClearGrid();
}
