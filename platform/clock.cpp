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
    m_engine.seed(static_cast<std::mt19937::result_type>(m_clock.now().toMSecsSinceEpoch()));
}

float ClockSeededRandom::nextUniform()
{
    // 24 random bits fill a float's mantissa exactly, so the result never rounds up to 1.
    return static_cast<float>(m_engine() >> 8) * (1.0f / 16777216.0f);
}

} // namespace platform
