#ifndef MOTORAXIS_H
#define MOTORAXIS_H

#include <QtGlobal>

// One motor of a simulated board. Its position is worked out from the time the
// current move started, so nothing has to tick while the motor travels.
class MotorAxis
{
public:
    MotorAxis(int minimum, int maximum, int position);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int position(qint64 nowMs) const;
    // Where the current move ends; the position itself when standing.
    int target() const { return m_target; }
    bool isMoving(qint64 nowMs) const { return position(nowMs) != m_target; }

    // Travels from where the motor is now towards target, clamped to the
    // mechanical range, at unitsPerSecond. A rate of zero or less stops it.
    void moveTo(qint64 target, qint64 unitsPerSecond, qint64 nowMs);
    void stop(qint64 nowMs);
    // Puts the motor at position, standing, without looking at the range (a
    // board may be found outside its range after it was moved by hand).
    void place(int position, qint64 nowMs);

private:
    int m_minimum;
    int m_maximum;
    int m_start;
    int m_target;
    qint64 m_rate = 0;
    qint64 m_startMs = 0;
};

#endif // MOTORAXIS_H
