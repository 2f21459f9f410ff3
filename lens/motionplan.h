#ifndef MOTIONPLAN_H
#define MOTIONPLAN_H

#include <array>
#include <optional>
#include <utility>
#include <vector>

// How a motor is taken to a target within the lens's soft limits and with its
// backlash taken up, and how several are taken there in a given time, the
// same for every move whoever asks for it.
namespace MotionPlan {

// The lowest and the highest position a motor may be sent to.
using Limits = std::pair<int, int>;

// The limit that position lies beyond, if it lies beyond one.
std::optional<int> crossedLimit(int position, const Limits &limits);

// The gotos that take a motor standing at from to target. A target below the
// motor is approached from beneath, by way of backlash counts under it (no
// lower than lowest), so that the lens always comes to a target from the same
// side; any other target is gone to straight.
std::vector<int> approach(int from, int target, int backlash, int lowest);

// One motor's part in a timed move.
struct Travel
{
    int from = 0;
    int to = 0;
    // Its measured speeds, slowest first, in counts per second: three levels,
    // or one for a motor with a single speed.
    std::vector<double> speeds;
};

// When a motor sets off and how it travels, in seconds from the start of the
// move. An eased leg runs on a course that speeds up and slows down as a sine
// does, slow in and slow out, but never slower than the motor's slowest
// speed, which it keeps to at either end; a leg that is not eased goes at its
// slowest speed throughout.
struct Leg
{
    double start = 0;
    double seconds = 0;
    bool eased = true;
    // Counts per second: the slowest, and the course's fastest halfway.
    double slowest = 0;
    double peak = 0;
};

// The counts a leg has covered seconds after it set off.
double coveredAt(const Leg &leg, double seconds);

struct TimedMove
{
    // The time the move takes: the time asked, or the shortest the motors
    // can make when that is longer.
    double seconds = 0;
    bool lengthened = false;
    std::array<std::optional<Leg>, 3> legs;
};

// Plans the motors' travels to take seconds and arrive together. An eased
// leg runs the whole time; a motor that cannot go slowly enough to take that
// long (a single speed, or a short travel) sets off late enough to arrive
// with the others. A motor with nowhere to go has no leg.
TimedMove planTimed(double seconds, const std::array<std::optional<Travel>, 3> &travels);

// The speed level that keeps a motor on its course when it must make needed
// counts per second (in its direction of travel): the level nearest to it by
// ratio; the slowest when it need not move.
int levelFor(double needed, const std::vector<double> &speeds);

// Where a zoom read at position, moving at velocity counts per second, will
// be aheadS later: no further than target, where its goto takes it, and
// within 0 and maximum. The focus that follows it is sent there.
double zoomAhead(int position, double velocity, double aheadS, std::optional<int> target, int maximum);

} // namespace MotionPlan

#endif // MOTIONPLAN_H
