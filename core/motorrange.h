#ifndef MOTORRANGE_H
#define MOTORRANGE_H

#include "motionplan.h"

#include <optional>

// Where a motor's slider and typed field may take it: the board's range,
// within the lens profile's soft limits where it sets them. The slider
// counts in steps of unitsPerStep counts (the iris's are coarser than its
// counts); the limits are counts.
struct MotorRange
{
    // The board's maximum, on the slider's scale.
    int maximum = 0;
    int unitsPerStep = 1;
    std::optional<MotionPlan::Limits> limits;

    // The slider's ends: the steps that reach the limits, within the board's
    // range.
    int sliderMinimum() const;
    int sliderMaximum() const;
    // What a position on the slider's scale sends, in counts: between the
    // slider's ends held to the limits, so that an end sends its limit and
    // not a step beyond it; outside them as it is, for the session to refuse.
    int countsOf(int position) const;
    // The limit counts lies beyond, if it lies beyond one.
    std::optional<int> crossedLimit(int counts) const;

    // A step of the + and - buttons and of a slider's keys: a hundredth of
    // the slider's span, at least one.
    static int stepOf(int minimum, int maximum);
};

#endif // MOTORRANGE_H
