#pragma once

#include "platform/clock.h"

#include <QList>

// Hands out the given numbers in order, then 0; counts draws and reseeds.
struct FixedRandom final : platform::RandomSource {
    explicit FixedRandom(QList<float> numbers = {}) : numbers(std::move(numbers)) {}
    void seedFromClock() override { ++reseeds; }
    float nextUniform() override { return ++drawn, numbers.isEmpty() ? 0.0f : numbers.takeFirst(); }
    QList<float> numbers;
    int drawn = 0;
    int reseeds = 0;
};
