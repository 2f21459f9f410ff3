#ifndef MOTORAXIS_H
#define MOTORAXIS_H

#include "motionprofile.h"

#include <QtGlobal>

// One motor of a simulated board and the lens part it drives. Its position is
// worked out from the time the current move started, so nothing has to tick
// while the motor travels: it speeds up and slows down at its acceleration,
// ends a goto exactly on its target, and halts at once at an end stop, on a
// stop and before it reverses.
//
// The lens follows the motor with play: it sits between the motor's count and
// backlash counts above it, flush with the motor when the motor last drove it
// upwards and backlash above it when downwards. At power-up it is flush.
class MotorAxis
{
public:
    // acceleration in counts per second squared.
    MotorAxis(int minimum, int maximum, int position, double acceleration);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int position(qint64 nowMs) const;
    // Where the current move ends; the position itself when standing.
    int target() const { return m_target; }
    bool isMoving(qint64 nowMs) const;
    // Where the lens is, in the motor's counts.
    int lensPosition(qint64 nowMs) const;

    // Travels from where the motor is now towards target at unitsPerSecond.
    // A target beyond an end of the mechanical range drives the motor into
    // that end stop; a rate of zero or less stops it.
    void moveTo(qint64 target, qint64 unitsPerSecond, qint64 nowMs);
    // Goes on to the same target at unitsPerSecond, from where the motor is
    // and at the speed it has.
    void changeRate(qint64 unitsPerSecond, qint64 nowMs);
    // A goto from standing to target (within the range) that takes durationMs.
    void moveWithin(int target, qint64 durationMs, qint64 nowMs);
    void stop(qint64 nowMs);
    void setBacklash(int counts) { m_backlash = qMax(0, counts); }

private:
    double secondsAt(qint64 nowMs) const;
    void plan(qint64 target, double rate, qint64 nowMs);

    int m_minimum;
    int m_maximum;
    double m_acceleration;
    int m_start;
    int m_target;
    // +1 up, -1 down, 0 standing.
    int m_direction = 0;
    bool m_intoEndStop = false;
    qint64 m_startMs = 0;
    MotionProfile m_profile;
    int m_backlash = 0;
    int m_lensStart;
};

#endif // MOTORAXIS_H
