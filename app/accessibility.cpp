// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader says of the window: names for the controls that have no caption of their
// own, the question on the box that takes the answer, and the practice messages read out while
// the learner keeps typing. Nothing here changes what is drawn.
#include "app/main_window.h"

#include "app/announcer.h"
#include "app/window_texts.h"
#include "app/word_grid.h"
#include "practice/practice_run.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

#include <utility>

void Form1::nameControlsForScreenReaders()
{
    // A box is read with the caption of the label before it, which also names the box it labels.
    for (auto [caption, box] :
         {std::pair{Label1, Text1}, std::pair{Label2, Text2}, std::pair{Label8, Text6}, std::pair{Label5, Text4},
          std::pair{Label6, Text5}, std::pair{Label7, Text9}, std::pair{Label9, Text10}})
        caption->setBuddy(box);

    // On Linux a combo box is read by the text it shows, which starts as this same prompt; the
    // name serves the platforms that read names.
    Combo1->setAccessibleName(kChooseYourName);
    Combo1->lineEdit()->setAccessibleName(kChooseYourName);
    Text11->setAccessibleName(QStringLiteral("Új név"));
    Frame1->setAccessibleName(Label10->text());
    MSFlexGrid1->setAccessibleName(QStringLiteral("Szójegyzék"));

    // The counters are read as they show.
    for (QLineEdit *counter : {Text7, Text8}) {
        counter->setAccessibleName(counter->text());
        connect(counter, &QLineEdit::textChanged, counter, &QWidget::setAccessibleName);
    }

    m_announcer = new Announcer(this);
}

// The editor is named after the cell under it: its column's caption and its pair number.
void Form1::nameCellEditor()
{
    Text3->setAccessibleName(QStringLiteral("%1, %2. szópár")
                                 .arg(MSFlexGrid1->cellText(0, editCol).trimmed(), MSFlexGrid1->cellText(editRow, 0)));
}

// The side shown, as "Angol: apple"; nothing once the run is over.
QString Form1::currentQuestion() const
{
    if (!m_run || m_run->isOver())
        return QString();
    const bool englishShown = m_run->answerBox() == PracticeBox::Hungarian;
    const QLabel *caption = englishShown ? Label5 : Label6;
    const QLineEdit *prompt = englishShown ? Text4 : Text5;
    return caption->text() + QStringLiteral(": ") + prompt->text();
}

void Form1::describeQuestionOnAnswerBox()
{
    const QString question = currentQuestion();
    const bool answerInEnglish = !question.isEmpty() && m_run->answerBox() == PracticeBox::English;
    const bool answerInHungarian = !question.isEmpty() && m_run->answerBox() == PracticeBox::Hungarian;
    // Set only when it changes: every change is an event for the screen reader.
    auto describe = [](QLineEdit *box, const QString &description) {
        if (box->accessibleDescription() != description)
            box->setAccessibleDescription(description);
    };
    describe(Text4, answerInEnglish ? question : QString());
    describe(Text5, answerInHungarian ? question : QString());
}

// One utterance a step: the new message, the new question when the focus did not move onto the
// box that carries it (the focus would read it anyway), and the note of a new pair.
void Form1::tellScreenReaderOfPracticeStep(const PracticeView &view, const QWidget *focusBefore)
{
    QStringList said;
    if (view.message)
        said << *view.message;
    // Every new pair comes with its note (a space when it has none).
    const bool newQuestion = view.note.has_value();
    if (newQuestion && focusWidget() == focusBefore && !currentQuestion().isEmpty())
        said << currentQuestion();
    if (view.note && !view.note->trimmed().isEmpty())
        said << Label9->text() + QLatin1Char(' ') + *view.note;
    m_announcer->announce(said.join(QLatin1Char(' ')));
}
