// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/clock.h"

#include <QList>

// Hands out the given numbers in order, then walks through [0, 1) in steps of 1/32, so that any
// draw still ends; counts draws and reseeds.
struct FixedRandom final : platform::RandomSource {
    explicit FixedRandom(QList<float> numbers = {}) : numbers(std::move(numbers)) {}
    void seedFromClock() override { ++reseeds; }
    float nextUniform() override
    {
        ++drawn;
        return numbers.isEmpty() ? float(drawn % 32) / 32.0f : numbers.takeFirst();
    }
    QList<float> numbers;
    int drawn = 0;
    int reseeds = 0;
};
