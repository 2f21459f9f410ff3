#include "motoraxis.h"

#include <algorithm>

namespace {

// Far beyond any speed the boards are asked for; keeps the arithmetic below in
// range for any speed field a frame can carry.
constexpr qint64 fastestRate = 10'000'000;

} // namespace

MotorAxis::MotorAxis(int minimum, int maximum, int position)
    : m_minimum(minimum)
    , m_maximum(maximum)
    , m_start(position)
    , m_target(position)
{
}

int MotorAxis::position(qint64 nowMs) const
{
    if (m_start == m_target || m_rate <= 0)
        return m_start;
    const qint64 distance = qAbs(qint64(m_target) - m_start);
    const qint64 elapsed = std::max<qint64>(0, nowMs - m_startMs);
    // Checked first so that rate * elapsed below cannot overflow.
    if (elapsed > distance * 1000 / m_rate)
        return m_target;
    const qint64 covered = std::min(distance, m_rate * elapsed / 1000);
    return int(m_target > m_start ? m_start + covered : m_start - covered);
}

void MotorAxis::moveTo(qint64 target, qint64 unitsPerSecond, qint64 nowMs)
{
    if (unitsPerSecond <= 0) {
        stop(nowMs);
        return;
    }
    m_start = position(nowMs);
    m_startMs = nowMs;
    m_target = int(std::clamp<qint64>(target, m_minimum, m_maximum));
    m_rate = std::min(unitsPerSecond, fastestRate);
}

void MotorAxis::stop(qint64 nowMs)
{
    place(position(nowMs), nowMs);
}

void MotorAxis::place(int position, qint64 nowMs)
{
    m_start = m_target = position;
    m_startMs = nowMs;
    m_rate = 0;
}
