// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clock.h"

namespace platform {

Clock::~Clock() = default;

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

RandomSource::~RandomSource() = default;

ClockSeededRandom::ClockSeededRandom(const Clock &clock) : m_clock(clock)
{
    seedFromClock();
}

void ClockSeededRandom::seedFromClock()
{
    // The count of seedings goes in too: a reseed within the same millisecond starts a new stream.
    const auto msecs = static_cast<std::uint64_t>(m_clock.now().toMSecsSinceEpoch());
    std::seed_seq seed{std::uint32_t(msecs), std::uint32_t(msecs >> 32), ++m_seedings};
    m_engine.seed(seed);
}

float ClockSeededRandom::nextUniform()
{
    // 24 random bits fill a float's mantissa exactly, so the result never rounds up to 1.
    return static_cast<float>(m_engine() >> 8) * (1.0f / 16777216.0f);
}

} // namespace platform
