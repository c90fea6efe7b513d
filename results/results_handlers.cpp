// SPDX-License-Identifier: GPL-3.0-or-later
// The results log: a record for every practice run left with "Vissza", and the viewer.
#include "app/main_window.h"

#include "app/screens.h"
#include "failures/failure_codes.h"
#include "failures/link_refusal.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "practice/practice_run.h"
#include "results/results_log_append.h"
#include "results/results_log_view.h"
#include "results/results_record.h"

#include <QComboBox>
#include <QLocale>
#include <QPushButton>

#ifdef __GLIBC__
#include <malloc.h>
#endif

void Form1::AppendResultsRecord()
{
    RunFigures figures;
    figures.learner = currentUser;
    figures.listName = listName;
    figures.direction = selectedDirection();
    figures.shownAnswers = m_run ? m_run->shownAnswerCount() : 0;
    figures.wrongAnswers = m_run ? m_run->wrongAnswerCount() : 0;
    figures.pairCount = pairCount;
    figures.allWordsSolved = allWordsSolved;
    const QByteArray record = resultsRecordBytes(figures, m_clock.now(), QLocale::system());
    allWordsSolved = false;
    // The learner is back on the practice setup screen by now; a record that could not be kept
    // must not pass for one that was.
    if (const std::optional<FailureCode> failure = appendResultsRecordToLog(startDirectory, currentUser, record))
        m_dialogs.message(unknownFailureMessage(*failure));
}

// "Eredmények Megtekintése": the log as it is stored; an empty box when there is none.
void Form1::Eredméynek_Com_Click()
{
    hideControls({Eredméynek_Com, Combo1, Command5, Vissza_Com6});
    showControls({Eredm_Kilép_Com, Text12});
    std::optional<QByteArray> log = readResultsLog(startDirectory, currentUser);
    const FailureCode unreadable = unlessRefusedLink(FailureCode::ResultsLogUnreadable);
    Text12->showLog(log ? std::move(*log) : QByteArray());
    // The button that had the focus is gone; the log is what the learner came for.
    Text12->setFocus();
    if (!log)
        m_dialogs.message(withFailureCode(QStringLiteral("Ismeretlen Fájl hiba!"), unreadable));
}

// "Vissza" on the results screen
void Form1::Eredm_Kilép_Com_Click()
{
    hideControls({Eredm_Kilép_Com, Text12});
    showControls({Eredméynek_Com, Combo1, Command5, Vissza_Com6});
    // The next visit reads the log afresh: the box lets go of this one now.
    Text12->clear();
#ifdef __GLIBC__
    // What the log took lies in the middle of the heap, where malloc would keep it for itself.
    malloc_trim(0);
#endif
}
