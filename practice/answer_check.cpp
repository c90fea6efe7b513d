// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/answer_check.h"

namespace {

QString trimmedOfSpaces(const QString &piece)
{
    qsizetype begin = 0;
    qsizetype end = piece.size();
    while (begin < end && piece.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && piece.at(end - 1) == QLatin1Char(' '))
        --end;
    return piece.mid(begin, end - begin);
}

} // namespace

QStringList answerAlternatives(const QString &answerCell)
{
    QStringList alternatives;
    if (!answerCell.contains(QLatin1Char(',')))
        return alternatives;
    for (const QString &piece : answerCell.split(QLatin1Char(','))) {
        const QString alternative = trimmedOfSpaces(piece);
        if (!alternative.isEmpty())
            alternatives.append(alternative);
    }
    return alternatives;
}

namespace answer_messages {

QString correct()
{
    return QStringLiteral("A beírt szó megfelel!");
}

QString wrong()
{
    return QStringLiteral("A beírt szó nem felel meg! Kérlek ismételd meg!");
}

QString severalAnswers(qsizetype count)
{
    return QString::number(count) + QStringLiteral("-féle megoldás van!");
}

QString oneMoreAccepted(qsizetype remaining)
{
    return QStringLiteral("A beírt szó megfelel! Még ") + QString::number(remaining)
           + QStringLiteral(" megoldás van hátra!");
}

QString allAccepted(qsizetype count)
{
    return QStringLiteral("A beírt szavak megfeleltek! Mind a ") + QString::number(count)
           + QStringLiteral(" megoldás teljesítve!");
}

} // namespace answer_messages

AnswerCheck::AnswerCheck(const QString &answerCell) : m_cell(answerCell)
{
    for (const QString &alternative : answerAlternatives(answerCell))
        m_alternatives.push_back({alternative});
    m_remaining = static_cast<qsizetype>(m_alternatives.size());
}

QString AnswerCheck::openingMessage() const
{
    return hasSeveralAnswers() ? answer_messages::severalAnswers(static_cast<qsizetype>(m_alternatives.size()))
                               : QString();
}

AnswerCheck::Result AnswerCheck::check(const QString &typed)
{
    if (!hasSeveralAnswers()) {
        if (typed != m_cell)
            return {Verdict::Wrong, answer_messages::wrong()};
        m_solved = true;
        return {Verdict::Solved, answer_messages::correct()};
    }
    for (Alternative &alternative : m_alternatives) {
        if (!alternative.open || alternative.text != typed)
            continue;
        alternative.open = false;
        if (--m_remaining > 0)
            return {Verdict::Accepted, answer_messages::oneMoreAccepted(m_remaining)};
        m_solved = true;
        return {Verdict::Solved, answer_messages::allAccepted(static_cast<qsizetype>(m_alternatives.size()))};
    }
    return {Verdict::Wrong, answer_messages::wrong()};
}
