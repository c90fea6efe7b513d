// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <initializer_list>

// Handlers move between screens by showing and hiding the controls they name, in their order.
inline void showControls(std::initializer_list<QWidget *> controls)
{
    for (QWidget *control : controls)
        control->show();
}

inline void hideControls(std::initializer_list<QWidget *> controls)
{
    for (QWidget *control : controls)
        control->hide();
}
