// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/practice_run.h"

#include "practice/question_draw.h"

namespace {

QString wrongCounterText(qint64 count)
{
    return QStringLiteral("Rossz válasz: ") + QString::number(count);
}

QString shownCounterText(qint64 count)
{
    return QStringLiteral("Megmutattam: ") + QString::number(count);
}

} // namespace

bool PracticeView::isEmpty() const
{
    return !englishBox && !hungarianBox && !note && !message && !wrongCounter && !shownCounter && !promptBox && !focus
           && !runFinished;
}

PracticeRun::PracticeRun(std::vector<WordPair> pairs, PracticeDirection direction, platform::RandomSource &random)
    : m_pairs(std::move(pairs)), m_direction(direction)
{
    m_opening.wrongCounter = wrongCounterText(0);
    m_opening.shownCounter = shownCounterText(0);
    // A fixed direction keeps its boxes for the whole run; a mixed run sets them per question.
    if (direction == PracticeDirection::EnglishHungarian)
        m_opening.promptBox = PracticeBox::English;
    else if (direction == PracticeDirection::HungarianEnglish)
        m_opening.promptBox = PracticeBox::Hungarian;

    m_order = drawQuestionOrder(pairCount(), random);
    if (direction == PracticeDirection::Mixed)
        m_directions = drawQuestionDirections(pairCount(), random);

    if (pairCount() == 0)
        finish(m_opening);
    else
        showQuestion(m_opening);
}

int PracticeRun::questionDirectionAt(int position) const
{
    if (position < 1 || position > static_cast<int>(m_directions.size()))
        return -1;
    return m_directions[static_cast<std::size_t>(position - 1)];
}

bool PracticeRun::englishShown() const
{
    switch (m_direction) {
    case PracticeDirection::EnglishHungarian:
        return true;
    case PracticeDirection::HungarianEnglish:
        return false;
    case PracticeDirection::Mixed:
        break;
    }
    return questionDirectionAt(m_position) == 1;
}

PracticeBox PracticeRun::answerBox() const
{
    return englishShown() ? PracticeBox::Hungarian : PracticeBox::English;
}

PracticeFocus PracticeRun::answerFocus() const
{
    return answerBox() == PracticeBox::Hungarian ? PracticeFocus::HungarianBox : PracticeFocus::EnglishBox;
}

const WordPair &PracticeRun::currentPair() const
{
    const int row = m_order[static_cast<std::size_t>(m_position - 1)];
    return m_pairs[static_cast<std::size_t>(row - 1)];
}

QString PracticeRun::answerCell() const
{
    return englishShown() ? currentPair().hungarian : currentPair().english;
}

void PracticeRun::setAnswerBox(PracticeView &view, const QString &text) const
{
    (answerBox() == PracticeBox::Hungarian ? view.hungarianBox : view.englishBox) = text;
}

void PracticeRun::showQuestion(PracticeView &view)
{
    const WordPair &pair = currentPair();
    if (m_direction == PracticeDirection::Mixed) {
        // The sides change from question to question, so both boxes start empty.
        view.promptBox = englishShown() ? PracticeBox::English : PracticeBox::Hungarian;
        view.englishBox = QString();
        view.hungarianBox = QString();
    }
    view.note = pair.note;
    if (englishShown())
        view.englishBox = pair.english;
    else
        view.hungarianBox = pair.hungarian;
    m_check.emplace(answerCell());
    if (m_check->hasSeveralAnswers())
        view.message = m_check->openingMessage();
    view.focus = answerFocus();
}

void PracticeRun::finish(PracticeView &view)
{
    m_finished = true;
    m_check.reset();
    view.hungarianBox = QString();
    view.englishBox = QString();
    view.message = QStringLiteral("Az öszes szót sikerült megoldani! Kattints a Vissza gombra!");
    view.focus = PracticeFocus::BackButton;
    view.runFinished = true;
}

PracticeRun::MehetPress PracticeRun::pressMehet(const QString &englishBox, const QString &hungarianBox) const
{
    if (isOver())
        return {};
    if (answerBox() == PracticeBox::Hungarian)
        return {!hungarianBox.isEmpty(), PracticeFocus::HungarianBox};
    const bool submits = !englishBox.isEmpty();
    return {submits, submits ? PracticeFocus::EnglishBox : PracticeFocus::HungarianBox};
}

PracticeView PracticeRun::submit(const QString &typed)
{
    PracticeView view;
    if (isOver())
        return view;

    const AnswerCheck::Result result = m_check->check(typed);
    view.message = result.message;
    setAnswerBox(view, QString());
    switch (result.verdict) {
    case AnswerCheck::Verdict::Wrong:
        ++m_wrongAnswers;
        view.wrongCounter = wrongCounterText(m_wrongAnswers);
        view.focus = answerFocus();
        break;
    case AnswerCheck::Verdict::Accepted:
        view.focus = answerFocus();
        break;
    case AnswerCheck::Verdict::Solved:
        ++m_position;
        if (m_position > pairCount())
            finish(view);
        else
            showQuestion(view);
        break;
    }
    return view;
}

PracticeView PracticeRun::showAnswer()
{
    PracticeView view;
    if (isOver())
        return view;
    ++m_shownAnswers;
    view.shownCounter = shownCounterText(m_shownAnswers);
    view.message = answerCell();
    view.focus = answerFocus();
    return view;
}

void PracticeRun::leave()
{
    if (!m_finished)
        m_left = true;
}
