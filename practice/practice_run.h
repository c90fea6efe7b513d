// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "practice/answer_check.h"
#include "practice/practice_direction.h"

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace platform {
class RandomSource;
}

// One practice run, without widgets. The window hands it the list and the direction when
// "Tanulás indítása" is pressed, and from then on only passes events in and applies what comes
// back:
//
//     run = PracticeRun(pairs, direction, random);     // after clearing Text4, Text5, Text9, Text10
//     apply(run.opening());
//     Mehet:       press = run.pressMehet(Text4, Text5); focus; if (press.submits) check later
//     Enter:       if the box pressed in is not empty, check later
//     check:       apply(run.submit(text of run.answerBox()))   // once, after the handler returned
//     Megmutatja:  apply(run.showAnswer())
//     Vissza:      run.leave(), then record the run's figures
//
// A run that has gone through every pair is finished; after that, and after leaving, submitting
// and showing the answer change nothing and count nothing.

// A row of the grid: pairs[0] is row 1.
struct WordPair {
    QString english;
    QString hungarian;
    QString note;
};

// The two boxes of the practice screen: Text4 holds the English side, Text5 the Hungarian.
enum class PracticeBox { English, Hungarian };

enum class PracticeFocus { EnglishBox, HungarianBox, BackButton };

// What the practice screen must change after one step of the run; fields left unset stay as
// they are. Apply the texts first, then the read-only state, then the focus.
struct PracticeView {
    std::optional<QString> englishBox;    // Text4
    std::optional<QString> hungarianBox;  // Text5
    std::optional<QString> note;          // Text10
    std::optional<QString> message;       // Text9
    std::optional<QString> wrongCounter;  // Text7
    std::optional<QString> shownCounter;  // Text8
    std::optional<PracticeBox> promptBox; // make it read-only and the other box editable
    std::optional<PracticeFocus> focus;
    bool runFinished = false; // the last pair has just been solved (allWordsSolved)

    bool isEmpty() const;
};

class PracticeRun {
public:
    // Counters from 0; draws the order, and for a mixed run the side of every question; prepares
    // the first question (or, with no pairs, finishes at once).
    PracticeRun(std::vector<WordPair> pairs, PracticeDirection direction, platform::RandomSource &random);

    const PracticeView &opening() const { return m_opening; }

    // "Mehet": it submits when the current question's answer box holds text. The focus ends in
    // the Hungarian box, except after a submission from the English box. Does nothing once the
    // run is over.
    struct MehetPress {
        bool submits = false;
        std::optional<PracticeFocus> focus;
    };
    MehetPress pressMehet(const QString &englishBox, const QString &hungarianBox) const;

    // The box the current question is answered in.
    PracticeBox answerBox() const;

    // Checks one submission: the text of the answer box, as typed.
    PracticeView submit(const QString &typed);

    // "Megmutatja": counts the press and shows the current answer cell whole.
    PracticeView showAnswer();

    // "Vissza" while the run waits: it stops here. Leaving a finished run changes nothing.
    void leave();

    bool isOver() const { return m_finished || m_left; }
    bool isFinished() const { return m_finished; } // every pair solved
    bool wasLeft() const { return m_left; }        // left while waiting for an answer

    PracticeDirection direction() const { return m_direction; }
    int pairCount() const { return static_cast<int>(m_pairs.size()); }
    qint64 wrongAnswerCount() const { return m_wrongAnswers; }
    qint64 shownAnswerCount() const { return m_shownAnswers; }
    // From 1; pairCount + 1 once finished.
    int currentPosition() const { return m_position; }
    // Element i is the grid row asked at position i + 1.
    const std::vector<int> &questionOrder() const { return m_order; }
    // For a mixed run 1 (English shown) or 0 (Hungarian shown) at positions 1..pairCount;
    // -1 elsewhere and for the fixed directions.
    int questionDirectionAt(int position) const;

private:
    bool englishShown() const;
    const WordPair &currentPair() const;
    QString answerCell() const;
    PracticeFocus answerFocus() const;
    void setAnswerBox(PracticeView &view, const QString &text) const;
    void showQuestion(PracticeView &view);
    void finish(PracticeView &view);

    std::vector<WordPair> m_pairs;
    PracticeDirection m_direction;
    std::vector<int> m_order;
    std::vector<int> m_directions;
    int m_position = 1;
    qint64 m_wrongAnswers = 0;
    qint64 m_shownAnswers = 0;
    std::optional<AnswerCheck> m_check;
    bool m_finished = false;
    bool m_left = false;
    PracticeView m_opening;
};
