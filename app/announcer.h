// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

// Hands a message to the screen reader while the focus stays where the learner types. Qt 6.4 has
// no announcement event of its own, and a screen reader speaks the text changes of a box only
// while that box has the focus; but a notification that appears is read out wherever the focus
// is. So this is an empty notification, never drawn, that appears for a moment with the message
// as its name.
class Announcer final : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent);

    void announce(const QString &message);
};
