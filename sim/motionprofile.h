#ifndef MOTIONPROFILE_H
#define MOTIONPROFILE_H

// The course of one move of a motor in one direction, as a function of the
// time since it began: the speed changes from where it was to the cruising
// speed at a constant acceleration, holds, and (unless the move ends in an end
// stop) falls to zero at the same acceleration so that the move ends exactly on
// its distance. Pure arithmetic: nothing ticks.
class MotionProfile
{
public:
    // Standing: no distance, no time.
    MotionProfile() = default;
    // A goto of distance counts, begun at startSpeed (counts per second, 0 or
    // more, in the direction of the move) and cruising at cruiseSpeed, with
    // acceleration in counts per second squared. One already too fast to slow
    // down within the distance brakes harder, so that it still ends there.
    static MotionProfile toTarget(double distance, double startSpeed, double cruiseSpeed, double acceleration);
    // A run that goes on at cruiseSpeed until it meets an end stop distance
    // counts away, which halts it at once.
    static MotionProfile intoEndStop(double distance, double startSpeed, double cruiseSpeed, double acceleration);
    // The cruising speed that makes a goto from standing take seconds, as far
    // as the acceleration allows it.
    static double cruiseSpeedFor(double distance, double seconds, double acceleration);

    // Counts covered and the speed, seconds after the move began.
    double travelled(double seconds) const;
    double speed(double seconds) const;
    // Seconds from the start to the end of the move.
    double duration() const { return m_end; }
    double distance() const { return m_distance; }

private:
    double m_distance = 0;
    double m_startSpeed = 0;
    double m_cruiseSpeed = 0;
    // Signed: negative when the move begins faster than its cruising speed.
    double m_rampAcceleration = 0;
    double m_rampEnd = 0;
    double m_brakeFrom = 0;
    double m_braking = 0;
    double m_end = 0;
};

#endif // MOTIONPROFILE_H
