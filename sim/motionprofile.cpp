#include "motionprofile.h"

#include <algorithm>
#include <cmath>

namespace {

// The seconds after which distance is covered, starting at speed and
// accelerating at acceleration (which may be negative, the speed staying
// positive on the way).
double timeToCover(double distance, double speed, double acceleration)
{
    if (acceleration == 0)
        return distance / speed;
    return (std::sqrt(speed * speed + 2 * acceleration * distance) - speed) / acceleration;
}

} // namespace

MotionProfile MotionProfile::toTarget(double distance, double startSpeed, double cruiseSpeed, double acceleration)
{
    MotionProfile profile;
    if (distance <= 0)
        return profile;
    profile.m_distance = distance;
    profile.m_startSpeed = startSpeed;
    if (startSpeed * startSpeed >= 2 * acceleration * distance) {
        // Braking all the way, as hard as it takes to end on the distance.
        profile.m_cruiseSpeed = startSpeed;
        profile.m_braking = startSpeed * startSpeed / (2 * distance);
        profile.m_end = 2 * distance / startSpeed;
        return profile;
    }
    // Too short a move to reach the cruising speed peaks where the ramps meet.
    const double peak = std::sqrt(acceleration * distance + startSpeed * startSpeed / 2);
    const double cruise = startSpeed <= cruiseSpeed ? std::min(cruiseSpeed, peak) : cruiseSpeed;
    profile.m_cruiseSpeed = cruise;
    profile.m_rampAcceleration = cruise >= startSpeed ? acceleration : -acceleration;
    profile.m_rampEnd = std::abs(cruise - startSpeed) / acceleration;
    const double ramp = (startSpeed + cruise) / 2 * profile.m_rampEnd;
    const double brake = cruise * cruise / (2 * acceleration);
    profile.m_brakeFrom = profile.m_rampEnd + std::max(0.0, distance - ramp - brake) / cruise;
    profile.m_braking = acceleration;
    profile.m_end = profile.m_brakeFrom + cruise / acceleration;
    return profile;
}

MotionProfile MotionProfile::intoEndStop(double distance, double startSpeed, double cruiseSpeed, double acceleration)
{
    MotionProfile profile;
    if (distance <= 0)
        return profile;
    profile.m_distance = distance;
    profile.m_startSpeed = startSpeed;
    profile.m_cruiseSpeed = cruiseSpeed;
    profile.m_rampAcceleration = cruiseSpeed >= startSpeed ? acceleration : -acceleration;
    profile.m_rampEnd = std::abs(cruiseSpeed - startSpeed) / acceleration;
    const double ramp = (startSpeed + cruiseSpeed) / 2 * profile.m_rampEnd;
    if (ramp >= distance)
        profile.m_rampEnd = timeToCover(distance, startSpeed, profile.m_rampAcceleration);
    profile.m_end = ramp >= distance ? profile.m_rampEnd : profile.m_rampEnd + (distance - ramp) / cruiseSpeed;
    profile.m_brakeFrom = profile.m_end;
    return profile;
}

double MotionProfile::cruiseSpeedFor(double distance, double seconds, double acceleration)
{
    // A goto from standing at speed v takes distance / v + v / acceleration.
    const double discriminant = seconds * seconds - 4 * distance / acceleration;
    if (discriminant <= 0)
        return std::sqrt(acceleration * distance);
    return (seconds - std::sqrt(discriminant)) * acceleration / 2;
}

double MotionProfile::travelled(double seconds) const
{
    if (seconds >= m_end)
        return m_distance;
    const double t = std::max(0.0, seconds);
    const double rampTime = std::min(t, m_rampEnd);
    double covered = m_startSpeed * rampTime + m_rampAcceleration * rampTime * rampTime / 2;
    covered += m_cruiseSpeed * (std::min(t, m_brakeFrom) - rampTime);
    const double braking = std::max(0.0, t - m_brakeFrom);
    covered += m_cruiseSpeed * braking - m_braking * braking * braking / 2;
    return std::min(covered, m_distance);
}

double MotionProfile::speed(double seconds) const
{
    if (seconds >= m_end)
        return 0;
    const double t = std::max(0.0, seconds);
    if (t < m_rampEnd)
        return m_startSpeed + m_rampAcceleration * t;
    return std::max(0.0, m_cruiseSpeed - m_braking * std::max(0.0, t - m_brakeFrom));
}
