// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/clock.h"

// Always the same moment, unless a test moves it.
struct FixedClock final : platform::Clock {
    QDateTime now() const override { return at; }
    QDateTime at = QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3));
};
