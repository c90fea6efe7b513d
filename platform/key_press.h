// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <functional>

namespace platform {

constexpr int kEnterKey = 13;
constexpr int kEscapeKey = 27;

// Calls the handler with the character code of every key typed into the widget (Enter gives 13),
// before the widget itself handles the key, which it then does as usual.
void onKeyPress(QWidget *widget, std::function<void(int characterCode)> handler);

} // namespace platform
