#ifndef LENSVALUE_H
#define LENSVALUE_H

#include <QString>

#include <optional>

class QLocale;

// A position as an operator or a cue gives it: in counts, or in the lens's
// units (a focal length, a distance with infinity, an f-number).
struct LensValue
{
    enum class Unit { Counts, Millimetres, Metres, FNumber };
    Unit unit = Unit::Counts;
    // Metres: std::numeric_limits<double>::infinity() for infinity.
    double value = 0;

    // "3012", "35mm", "35 mm", "2.5m", "inf", "∞", "f4", "f/2.8"; case does not
    // matter, the decimal separator is the locale's; a value must be above 0
    // (counts: 0 or more). Empty for anything else.
    static std::optional<LensValue> parse(const QString &text, const QLocale &locale);
};

#endif // LENSVALUE_H
