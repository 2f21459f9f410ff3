#include "motorrange.h"

#include <algorithm>

int MotorRange::sliderMinimum() const
{
    return limits ? std::clamp(limits->first / unitsPerStep, 0, maximum) : 0;
}

int MotorRange::sliderMaximum() const
{
    if (!limits)
        return maximum;
    return std::clamp((limits->second + unitsPerStep - 1) / unitsPerStep, sliderMinimum(), maximum);
}

int MotorRange::countsOf(int position) const
{
    const int counts = position * unitsPerStep;
    if (!limits || position < sliderMinimum() || position > sliderMaximum())
        return counts;
    return std::clamp(counts, limits->first, limits->second);
}

std::optional<int> MotorRange::crossedLimit(int counts) const
{
    return limits ? MotionPlan::crossedLimit(counts, *limits) : std::nullopt;
}

int MotorRange::stepOf(int minimum, int maximum)
{
    return std::max(1, (maximum - minimum) / 100);
}
