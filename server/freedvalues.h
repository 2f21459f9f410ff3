#ifndef FREEDVALUES_H
#define FREEDVALUES_H

#include "freedpacket.h"

#include <array>
#include <optional>

class LensProfile;

// What a FreeD packet's zoom, focus and iris fields carry, in one of three
// ways a receiver can be set up for:
// - Scaled: each position onto 0..65535 of 0..its maximum (the iris onto
//   0..4095), what generic receivers expect;
// - Raw: the driver's units (the iris scaled as above);
// - Lens: the focal length in micrometres, the focus distance in millimetres
//   (0xFFFFFF for infinity) and the f-number times 100, from the profile.
// A motor without a position, a maximum or a table sends 0.
namespace FreedValues {

enum class Mode { Scaled, Raw, Lens };

constexpr quint32 scaledTop = 65535;
constexpr quint32 infinity = FreedPacket::maximum24;

// Zoom, focus and iris by their place in LensMotor::all().
using Positions = std::array<std::optional<double>, 3>;
using Maxima = std::array<std::optional<int>, 3>;

// Fills fields' zoom, focus and iris; profile may be null outside Lens.
void fill(FreedPacket::Fields *fields, Mode mode, const Positions &positions, const Maxima &maxima,
          const LensProfile *profile);

} // namespace FreedValues

#endif // FREEDVALUES_H
