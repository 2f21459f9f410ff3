#ifndef SPEEDFIT_H
#define SPEEDFIT_H

#include <optional>
#include <vector>

// How fast a motor moved, from its positions read against time while it went
// from one standing place to another.
namespace SpeedFit {

struct Reading
{
    // Since the move was sent.
    double seconds = 0;
    int position = 0;
};

// The share of the travel, from the first reading to the last, within which
// the motor is taken to cruise: past its speeding up, before its slowing down.
constexpr double cruiseFrom = 0.2;
constexpr double cruiseTo = 0.8;
// Fewer readings within that share say too little to give a speed.
constexpr int fewestReadings = 3;

// The cruising speed in counts per second, the slope of the readings within
// the cruising share (least squares); readings holds the motor standing where
// it set off first and standing where it came to last. Nothing when too few
// readings lie within the share, or the motor did not move.
std::optional<double> cruiseSpeed(const std::vector<Reading> &readings);

// A speed to three significant digits, as a profile keeps it: a measurement
// is no better than that.
double rounded(double speed);

} // namespace SpeedFit

#endif // SPEEDFIT_H
