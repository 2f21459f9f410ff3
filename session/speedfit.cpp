#include "speedfit.h"

#include <cmath>

std::optional<double> SpeedFit::cruiseSpeed(const std::vector<Reading> &readings)
{
    if (readings.size() < 2)
        return std::nullopt;
    const double from = readings.front().position;
    const double travel = readings.back().position - from;
    if (travel == 0)
        return std::nullopt;
    int count = 0;
    double sumT = 0;
    double sumP = 0;
    double sumTT = 0;
    double sumTP = 0;
    for (const Reading &reading : readings) {
        const double share = (reading.position - from) / travel;
        if (share < cruiseFrom || share > cruiseTo)
            continue;
        ++count;
        sumT += reading.seconds;
        sumP += reading.position;
        sumTT += reading.seconds * reading.seconds;
        sumTP += reading.seconds * reading.position;
    }
    const double spread = count * sumTT - sumT * sumT;
    if (count < fewestReadings || spread <= 0)
        return std::nullopt;
    return std::abs((count * sumTP - sumT * sumP) / spread);
}

double SpeedFit::rounded(double speed)
{
    if (!(speed > 0) || !std::isfinite(speed))
        return speed;
    // Scaled by a whole power of ten, so that 12.3 is written as 12.3.
    const int decimals = 2 - int(std::floor(std::log10(speed)));
    if (decimals >= 0) {
        const double scale = std::pow(10.0, decimals);
        return std::round(speed * scale) / scale;
    }
    const double scale = std::pow(10.0, -decimals);
    return std::round(speed / scale) * scale;
}
