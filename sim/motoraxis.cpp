#include "motoraxis.h"

#include <algorithm>
#include <cmath>

namespace {

// Far beyond any speed the boards are asked for; keeps the arithmetic below in
// range for any speed field a frame can carry.
constexpr qint64 fastestRate = 10'000'000;

} // namespace

MotorAxis::MotorAxis(int minimum, int maximum, int position, double acceleration)
    : m_minimum(minimum)
    , m_maximum(maximum)
    , m_acceleration(acceleration)
    , m_start(position)
    , m_target(position)
    , m_lensStart(position)
{
}

double MotorAxis::secondsAt(qint64 nowMs) const
{
    return double(std::max<qint64>(0, nowMs - m_startMs)) / 1000;
}

int MotorAxis::position(qint64 nowMs) const
{
    const qint64 covered = std::llround(m_profile.travelled(secondsAt(nowMs)));
    return int(m_start + m_direction * covered);
}

bool MotorAxis::isMoving(qint64 nowMs) const
{
    return m_direction != 0 && secondsAt(nowMs) < m_profile.duration();
}

int MotorAxis::lensPosition(qint64 nowMs) const
{
    const int motor = position(nowMs);
    if (m_direction > 0)
        return std::max(m_lensStart, motor);
    if (m_direction < 0)
        return std::min(m_lensStart, motor + m_backlash);
    return m_lensStart;
}

void MotorAxis::moveTo(qint64 target, qint64 unitsPerSecond, qint64 nowMs)
{
    if (unitsPerSecond <= 0)
        stop(nowMs);
    else
        plan(target, double(std::min(unitsPerSecond, fastestRate)), nowMs);
}

void MotorAxis::changeRate(qint64 unitsPerSecond, qint64 nowMs)
{
    if (!isMoving(nowMs))
        return;
    const qint64 target = m_intoEndStop ? qint64(m_target) + m_direction : m_target;
    moveTo(target, unitsPerSecond, nowMs);
}

void MotorAxis::moveWithin(int target, qint64 durationMs, qint64 nowMs)
{
    stop(nowMs);
    const double distance = std::abs(double(target) - m_start);
    plan(target, MotionProfile::cruiseSpeedFor(distance, double(durationMs) / 1000, m_acceleration), nowMs);
}

void MotorAxis::stop(qint64 nowMs)
{
    plan(position(nowMs), 0, nowMs);
}

void MotorAxis::plan(qint64 target, double rate, qint64 nowMs)
{
    const int from = position(nowMs);
    const double speed = m_profile.speed(secondsAt(nowMs));
    const int oldDirection = isMoving(nowMs) ? m_direction : 0;
    m_lensStart = lensPosition(nowMs);
    m_start = from;
    m_startMs = nowMs;
    m_intoEndStop = target < m_minimum || target > m_maximum;
    m_target = int(std::clamp<qint64>(target, m_minimum, m_maximum));
    m_direction = m_target > from ? 1 : (m_target < from ? -1 : 0);
    if (m_direction == 0 || rate <= 0) {
        m_target = from;
        m_direction = 0;
        m_profile = MotionProfile();
        return;
    }
    // A motor that reverses halts first.
    const double startSpeed = m_direction == oldDirection ? speed : 0;
    const double distance = std::abs(double(m_target) - from);
    m_profile = m_intoEndStop ? MotionProfile::intoEndStop(distance, startSpeed, rate, m_acceleration)
                              : MotionProfile::toTarget(distance, startSpeed, rate, m_acceleration);
}
