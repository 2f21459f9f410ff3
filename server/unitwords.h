#ifndef UNITWORDS_H
#define UNITWORDS_H

#include "lensvalue.h"

#include <array>

// A goto in the lens's units names its unit by one word, the same as an HTTP
// body's key and as the last part of an OSC address: mm for the zoom's focal
// length, m for the focus distance, f for the iris's f-number. By the
// motor's place in LensMotor::all().
struct UnitWord
{
    const char *word;
    LensValue::Unit unit;
};

inline constexpr std::array<UnitWord, 3> unitWords{{
    {"mm", LensValue::Unit::Millimetres},
    {"m", LensValue::Unit::Metres},
    {"f", LensValue::Unit::FNumber},
}};

#endif // UNITWORDS_H
