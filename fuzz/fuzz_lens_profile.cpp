// A lens profile as an operator writes it by hand, or as any file named by
// --profile or config.ini might be. Besides the sanitizers: a profile refused
// says why and where, and one accepted keeps its word everywhere its tables
// reach: values inside the table's range, moving one way along it, and each
// inverse leading back to the position it came from.

#include "fuzzqt.h"
#include "lensprofile.h"

#include <cmath>
#include <functional>

namespace {

using FuzzQt::require;

void checkTable(const std::vector<LensPoint> &points, const std::function<std::optional<double>(double)> &forward,
                const std::function<std::optional<double>(double)> &inverse)
{
    const double first = points.front().position;
    const double last = points.back().position;
    require(!forward(first - 1) && !forward(last + 1), "a value outside the table");
    const bool rising = points.back().value > points.front().value;
    std::optional<double> previous;
    for (int step = 0; step <= 64; ++step) {
        const double position = first + (last - first) * step / 64;
        const std::optional<double> value = forward(position);
        require(value && std::isfinite(*value), "no value inside the table");
        require(!previous || (rising ? *value >= *previous : *value <= *previous), "a table that turns");
        previous = value;
        const std::optional<double> back = inverse(*value);
        require(back && std::abs(*forward(*back) - *value) <= 1e-6 * std::max(1.0, std::abs(*value)),
                "an inverse that leads elsewhere");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const LensProfile::Read read =
        LensProfile::parse(QByteArray(reinterpret_cast<const char *>(data), int(size)), QStringLiteral("fuzz.json"));
    if (!read.profile) {
        require(read.error.startsWith(QLatin1String("fuzz.json: ")), "a refusal that does not name the file");
        return 0;
    }
    const LensProfile &profile = *read.profile;
    const LensProfileData &lens = profile.data();
    if (!lens.zoom.empty())
        checkTable(lens.zoom, [&](double p) { return profile.focalLengthMm(p); },
                   [&](double mm) { return profile.zoomForFocalLength(mm); });
    if (!lens.iris.empty())
        checkTable(lens.iris, [&](double p) { return profile.fNumber(p); }, [&](double f) { return profile.irisForFNumber(f); });
    for (const FocusCurveData &curve : lens.focus) {
        const double zoom = curve.zoom.value_or(0);
        for (const LensPoint &point : curve.points) {
            // A distance the profile knows at this zoom is found again from
            // the position it gives.
            const std::optional<double> position = profile.focusForDistance(point.value, zoom);
            if (!position)
                continue;
            // Distances whose positions lie closer than a double tells apart
            // read back as each other: the position is what must agree.
            const std::optional<double> metres = profile.focusDistanceM(*position, zoom);
            require(metres.has_value(), "a known distance lost");
            const std::optional<double> again = profile.focusForDistance(*metres, zoom);
            require(again && std::abs(*again - *position) <= 1e-6 * std::max(1.0, std::abs(*position)),
                    "a distance that reads back elsewhere");
        }
    }
    // What the dialog writes reads back as the same profile.
    const LensProfile::Read again = LensProfile::parse(lens.toJson(), QStringLiteral("again.json"));
    require(again.profile && again.profile->data().toJson() == lens.toJson(), "a written profile that reads otherwise");
    return 0;
}
