// The results log: a record for every practice run left with "Vissza", and the viewer.
#include "app/main_window.h"

#include "failures/failure_codes.h"
#include "app/screens.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/dialogs.h"
#include "practice/practice_run.h"
#include "results/results_log_append.h"
#include "results/results_record.h"

#include <QComboBox>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>

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
        m_dialogs.message(withFailureCode(QStringLiteral("Ismeretlen hiba!"), *failure));
}

// "Eredmények Megtekintése": the log as it is stored; an empty box when there is none.
void Form1::Eredméynek_Com_Click()
{
    hideControls({Eredméynek_Com, Combo1, Command5, Vissza_Com6});
    const std::optional<QByteArray> log = readResultsLog(startDirectory, currentUser);
    QString text = platform::fromCodePage(log.value_or(QByteArray()));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    Text12->setPlainText(text);
    showControls({Eredm_Kilép_Com, Text12});
    // The button that had the focus is gone; the log is what the learner came for.
    Text12->setFocus();
    if (!log)
        m_dialogs.message(withFailureCode(QStringLiteral("Ismeretlen Fájl hiba!"), FailureCode::ResultsLogUnreadable));
}

// "Vissza" on the results screen
void Form1::Eredm_Kilép_Com_Click()
{
    hideControls({Eredm_Kilép_Com, Text12});
    showControls({Eredméynek_Com, Combo1, Command5, Vissza_Com6});
}
