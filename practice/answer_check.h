// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// Checking what the learner typed against one answer cell of the word list.
//
// A cell without a comma holds one answer: the typed text must equal it exactly (case, accents
// and spaces count, nothing is trimmed). A cell with commas holds several answers: each piece
// between commas, with its leading and trailing spaces (U+0020 only) removed, is one
// alternative, and the learner types every alternative once, one per submission, in any order.
// Pieces that are empty after trimming are no answers at all. A cell of only commas and spaces
// has none left and is checked whole, as one answer.

// The alternatives of a cell, in cell order; empty when the cell is checked as one answer.
QStringList answerAlternatives(const QString &answerCell);

// Messages of the practice screen's message box.
namespace answer_messages {
QString correct();                            // one answer typed right
QString wrong();                              // any wrong submission
QString severalAnswers(qsizetype count);      // shown with a pair of several answers
QString oneMoreAccepted(qsizetype remaining); // an alternative typed, others still open
QString allAccepted(qsizetype count);         // the last alternative typed
} // namespace answer_messages

// One pair's answer cell and what has been typed of it so far.
class AnswerCheck {
public:
    explicit AnswerCheck(const QString &answerCell);

    enum class Verdict {
        Wrong,    // counts as a wrong answer; the pair stays open
        Accepted, // one alternative typed, others still open
        Solved,   // the pair is done
    };
    struct Result {
        Verdict verdict;
        QString message;
    };

    // Checks one submission; typed text is never trimmed. An alternative already typed no
    // longer matches. Not to be called once the pair is solved.
    Result check(const QString &typed);

    bool hasSeveralAnswers() const { return !m_alternatives.empty(); }
    // "<n>-féle megoldás van!" when the pair has several answers, empty otherwise.
    QString openingMessage() const;
    bool isSolved() const { return m_solved; }

private:
    struct Alternative {
        QString text;
        bool open = true;
    };

    QString m_cell;
    std::vector<Alternative> m_alternatives;
    qsizetype m_remaining = 0;
    bool m_solved = false;
};
