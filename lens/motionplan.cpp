#include "motionplan.h"

#include <algorithm>

namespace MotionPlan {

std::optional<int> crossedLimit(int position, const Limits &limits)
{
    if (position < limits.first)
        return limits.first;
    if (position > limits.second)
        return limits.second;
    return std::nullopt;
}

std::vector<int> approach(int from, int target, int backlash, int lowest)
{
    const int beneath = std::max(target - backlash, lowest);
    if (backlash <= 0 || target >= from || beneath >= target)
        return {target};
    return {beneath, target};
}

} // namespace MotionPlan
