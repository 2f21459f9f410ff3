#ifndef MOTIONPLAN_H
#define MOTIONPLAN_H

#include <optional>
#include <utility>
#include <vector>

// How a motor is taken to a target within the lens's soft limits and with its
// backlash taken up, the same for every move whoever asks for it.
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

} // namespace MotionPlan

#endif // MOTIONPLAN_H
