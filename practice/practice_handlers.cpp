// SPDX-License-Identifier: GPL-3.0-or-later
// Practice: loading a list for it, starting a run, submitting answers, showing the answer and
// leaving. The run itself is a PracticeRun; these handlers pass it the learner's actions and show
// what it answers. Every submission is checked once, at the end of the handler that made it.
#include "app/main_window.h"

#include "app/screens.h"
#include "app/word_grid.h"
#include "platform/key_press.h"
#include "practice/practice_run.h"
#include "wordlist/grid_rows.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

// "Szójegyzék betöltése"
void Form1::Gyak_be_Com2_Click()
{
    OpenWordList();
    if (loadFailed) {
        ResetToMainMenu();
        return;
    }
    hideControls({Gyak_be_Com2, Új_Com1, Szerkeszt_Comm});
    showControls({Tanul_Com4});
    hideControls({Név_vált_Com});
    gridEditable = false;
    showControls({MSFlexGrid1});
    showControls({Option1, Option2, Option3, Label3, Label4});
    showControls({Vissza_no_mentComm});
    ShowListName();
}

PracticeDirection Form1::selectedDirection() const
{
    if (Option1->isChecked())
        return PracticeDirection::EnglishHungarian;
    if (Option3->isChecked())
        return PracticeDirection::Mixed;
    return PracticeDirection::HungarianEnglish;
}

// "Tanulás indítása"
void Form1::Tanul_Com4_Click()
{
    showControls({Label5, Label6, Text4, Text5});
    hideControls({MSFlexGrid1});
    hideControls({Tanul_Com4});
    showControls({Tanul_Vissza_Comm, Mehet_Comm, Text7, Text8, Text9, Text10, Label7, Label9});
    hideControls({Option1, Option2, Option3});
    hideControls({Vissza_no_mentComm});
    showControls({Megmutat_Comm});
    leaveRequested = false;
    hideControls({Command2});
    for (QLineEdit *box : {Text4, Text5, Text9, Text10})
        box->clear();

    const WordListRows rows = gridRows(*MSFlexGrid1);
    std::vector<WordPair> pairs;
    for (int row = 1; row <= pairCount; ++row)
        pairs.push_back({rows[row][1], rows[row][2], rows[row][3]});
    m_run = std::make_unique<PracticeRun>(std::move(pairs), selectedDirection(), m_random);
    showPracticeView(m_run->opening());
}

void Form1::showPracticeView(const PracticeView &view)
{
    const QWidget *focusBefore = focusWidget();
    auto setText = [](QLineEdit *box, const std::optional<QString> &text) {
        if (text)
            box->setText(*text);
    };
    setText(Text5, view.hungarianBox);
    setText(Text4, view.englishBox);
    setText(Text10, view.note);
    setText(Text9, view.message);
    setText(Text7, view.wrongCounter);
    setText(Text8, view.shownCounter);
    if (view.promptBox) {
        Text4->setReadOnly(*view.promptBox == PracticeBox::English);
        Text5->setReadOnly(*view.promptBox == PracticeBox::Hungarian);
    }
    // Before the focus arrives, so that the screen reader reads the question with the box.
    describeQuestionOnAnswerBox();
    if (view.focus) {
        switch (*view.focus) {
        case PracticeFocus::EnglishBox:
            Text4->setFocus();
            break;
        case PracticeFocus::HungarianBox:
            Text5->setFocus();
            break;
        case PracticeFocus::BackButton:
            Tanul_Vissza_Comm->setFocus();
            break;
        }
    }
    if (view.runFinished)
        allWordsSolved = true;
    tellScreenReaderOfPracticeStep(view, focusBefore);
}

void Form1::checkSubmittedAnswer()
{
    if (!answerSubmitted)
        return;
    answerSubmitted = false;
    if (!m_run)
        return;
    const QLineEdit *answerBox = m_run->answerBox() == PracticeBox::English ? Text4 : Text5;
    showPracticeView(m_run->submit(answerBox->text()));
}

// "Mehet": submits when the current question's answer box holds text.
void Form1::Mehet_Comm_Click()
{
    if (!m_run)
        return;
    const PracticeRun::MehetPress press = m_run->pressMehet(Text4->text(), Text5->text());
    if (press.submits)
        answerSubmitted = true;
    PracticeView focusOnly;
    focusOnly.focus = press.focus;
    showPracticeView(focusOnly);
    checkSubmittedAnswer();
}

// Enter in either box submits the answer box's text, even from the read-only question box.
void Form1::Text4_KeyPress(int keyAscii)
{
    if (keyAscii != platform::kEnterKey || Text4->text().isEmpty())
        return;
    answerSubmitted = true;
    checkSubmittedAnswer();
}

void Form1::Text5_KeyPress(int keyAscii)
{
    if (keyAscii != platform::kEnterKey || Text5->text().isEmpty())
        return;
    answerSubmitted = true;
    checkSubmittedAnswer();
}

// "Megmutatja"
void Form1::Megmutat_Comm_Click()
{
    if (m_run)
        showPracticeView(m_run->showAnswer());
}

// "Vissza" on the practice screen: back to the practice setup screen, and the run is recorded.
void Form1::Tanul_Vissza_Comm_Click()
{
    ResetToMainMenu();
    hideControls({Gyak_be_Com2, Új_Com1, Szerkeszt_Comm, Név_vált_Com});
    showControls({Tanul_Com4});
    gridEditable = false;
    showControls({MSFlexGrid1});
    showControls({Option1, Option2, Option3, Label3, Label4});
    showControls({Command2});
    showControls({Vissza_no_mentComm});
    leaveRequested = true;
    if (m_run)
        m_run->leave();
    AppendResultsRecord();
}
