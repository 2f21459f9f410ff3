#include "freedvalues.h"

#include "lensprofile.h"

#include <algorithm>
#include <cmath>

namespace {

quint32 held(double value, quint32 top)
{
    if (!(value > 0))
        return 0;
    return quint32(std::lround(std::min(value, double(top))));
}

quint32 scaled(const std::optional<double> &position, const std::optional<int> &maximum, quint32 top)
{
    if (!position || !maximum || *maximum <= 0)
        return 0;
    return held(*position / *maximum * top, top);
}

quint32 times(const std::optional<double> &value, double factor, quint32 top)
{
    return value ? held(*value * factor, top) : 0;
}

} // namespace

void FreedValues::fill(FreedPacket::Fields *fields, Mode mode, const Positions &positions, const Maxima &maxima,
                       const LensProfile *profile)
{
    const std::optional<double> &zoom = positions[0];
    const std::optional<double> &focus = positions[1];
    const std::optional<double> &iris = positions[2];
    switch (mode) {
    case Mode::Scaled:
        fields->zoom = scaled(zoom, maxima[0], scaledTop);
        fields->focus = scaled(focus, maxima[1], scaledTop);
        fields->iris = scaled(iris, maxima[2], FreedPacket::maximumIris);
        return;
    case Mode::Raw:
        fields->zoom = zoom ? held(*zoom, FreedPacket::maximum24) : 0;
        fields->focus = focus ? held(*focus, FreedPacket::maximum24) : 0;
        fields->iris = scaled(iris, maxima[2], FreedPacket::maximumIris);
        return;
    case Mode::Lens:
        break;
    }
    fields->zoom = fields->focus = fields->iris = 0;
    if (!profile)
        return;
    if (zoom)
        fields->zoom = times(profile->focalLengthMm(*zoom), 1000, FreedPacket::maximum24);
    if (focus) {
        const std::optional<double> metres = profile->focusDistanceM(*focus, zoom.value_or(0));
        // Infinity has its own value; no finite distance takes it.
        fields->focus = metres && std::isinf(*metres) ? infinity : times(metres, 1000, infinity - 1);
    }
    if (iris)
        fields->iris = times(profile->fNumber(*iris), 100, FreedPacket::maximumIris);
}
