#include "motionplan.h"

#include <algorithm>
#include <cmath>

namespace MotionPlan {

namespace {
constexpr double pi = 3.14159265358979323846;
}

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

namespace {

// The counts an eased course of seconds covers when it keeps to slowest at
// either end and peaks at peak halfway.
double easedDistance(double seconds, double slowest, double peak)
{
    const double ratio = std::min(1.0, slowest / peak);
    const double floorSeconds = seconds * std::asin(ratio) / pi;
    return 2 * slowest * floorSeconds + 2 * peak * seconds / pi * std::sqrt(1 - ratio * ratio);
}

} // namespace

double coveredAt(const Leg &leg, double seconds)
{
    const double t = std::clamp(seconds, 0.0, leg.seconds);
    if (!leg.eased)
        return leg.slowest * t;
    const double floorSeconds = leg.seconds * std::asin(std::min(1.0, leg.slowest / leg.peak)) / pi;
    const auto rising = [&leg, floorSeconds](double at) {
        if (at <= floorSeconds)
            return leg.slowest * at;
        return leg.slowest * floorSeconds
            + leg.peak * leg.seconds / pi * (std::cos(pi * floorSeconds / leg.seconds) - std::cos(pi * at / leg.seconds));
    };
    // Symmetric about halfway.
    if (t <= leg.seconds / 2)
        return rising(t);
    return 2 * rising(leg.seconds / 2) - rising(leg.seconds - t);
}

TimedMove planTimed(double seconds, const std::array<std::optional<Travel>, 3> &travels)
{
    TimedMove move;
    move.seconds = seconds;
    const auto moves = [](const std::optional<Travel> &travel) {
        return travel && travel->from != travel->to && !travel->speeds.empty();
    };
    // A sine course peaks at pi/2 times its mean speed.
    for (const std::optional<Travel> &travel : travels) {
        if (!moves(travel))
            continue;
        const double distance = std::abs(travel->to - travel->from);
        const double shortest = travel->speeds.size() == 1 ? distance / travel->speeds.front()
                                                           : pi * distance / (2 * travel->speeds.back());
        if (shortest > move.seconds) {
            move.seconds = shortest;
            move.lengthened = true;
        }
    }
    for (size_t i = 0; i < travels.size(); ++i) {
        if (!moves(travels[i]))
            continue;
        const Travel &travel = *travels[i];
        const double distance = std::abs(travel.to - travel.from);
        const double slowest = travel.speeds.front();
        // At the slowest level all the way: no course can take longer.
        if (travel.speeds.size() == 1 || distance <= slowest * move.seconds) {
            const double travelSeconds = distance / slowest;
            move.legs[i] = Leg{move.seconds - travelSeconds, travelSeconds, false, slowest, slowest};
            continue;
        }
        // The peak that makes the course cover the distance in the time.
        double low = slowest;
        double high = std::max(slowest, pi * distance / move.seconds);
        for (int step = 0; step < 60; ++step) {
            const double mid = (low + high) / 2;
            (easedDistance(move.seconds, slowest, mid) < distance ? low : high) = mid;
        }
        move.legs[i] = Leg{0, move.seconds, true, slowest, (low + high) / 2};
    }
    return move;
}

int levelFor(double needed, const std::vector<double> &speeds)
{
    // Nearest by ratio: twice too fast is as far off as half as fast, so the
    // motor is as often ahead of its course as behind it.
    int best = 0;
    for (size_t level = 1; level < speeds.size(); ++level) {
        if (needed * needed > speeds[level - 1] * speeds[level])
            best = int(level);
    }
    return best;
}

double zoomAhead(int position, double velocity, double aheadS, std::optional<int> target, int maximum)
{
    double ahead = position + velocity * aheadS;
    if (target)
        ahead = velocity >= 0 ? std::min(ahead, double(std::max(*target, position)))
                              : std::max(ahead, double(std::min(*target, position)));
    return std::clamp(ahead, 0.0, double(maximum));
}

} // namespace MotionPlan
