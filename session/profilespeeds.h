#ifndef PROFILESPEEDS_H
#define PROFILESPEEDS_H

#include "lensaxis.h"

#include <QString>

#include <array>
#include <vector>

struct LensProfileData;

// Measured speeds into a lens profile's file, every other key as it was: the
// profile's speeds replaced by those measured (for every motor), the result
// checked as any profile is, and the file replaced whole, through a
// temporary file beside it, or not at all.
namespace ProfileSpeeds {

struct Written
{
    enum class Kind {
        Written,
        // The profile with the speeds does not check: detail is its error.
        Invalid,
        // The file could not be replaced: detail is the system's reason.
        Unwritable,
    };
    Kind kind = Kind::Written;
    QString detail;
};

// profile: as read from path.
Written write(const QString &path, const LensProfileData &profile,
              const std::array<std::vector<double>, lensAxisCount> &speeds);

} // namespace ProfileSpeeds

#endif // PROFILESPEEDS_H
