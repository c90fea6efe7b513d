// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

#include <cstdint>
#include <random>

namespace platform {

class Clock {
public:
    virtual ~Clock();
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override;
};

// Uniform numbers in [0, 1), single precision. ClockSeededRandom seeds itself from the clock when
// it is made; a reseed never repeats a stream it has started, even within one millisecond.
class RandomSource {
public:
    virtual ~RandomSource();
    virtual void seedFromClock() = 0;
    virtual float nextUniform() = 0;
};

class ClockSeededRandom final : public RandomSource {
public:
    explicit ClockSeededRandom(const Clock &clock);
    void seedFromClock() override;
    float nextUniform() override;

private:
    const Clock &m_clock;
    std::mt19937 m_engine;
    std::uint32_t m_seedings = 0;
};

} // namespace platform
