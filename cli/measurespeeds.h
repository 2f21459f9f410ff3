#ifndef MEASURESPEEDS_H
#define MEASURESPEEDS_H

#include "boardtype.h"
#include "lenssession.h"

#include <QString>

class LensProfile;
class QTextStream;

// tavro-lensctl measure-speeds: times the board's motors (see
// SpeedMeasurement) and writes their speeds into the profile's file, every
// other key as it was (ProfileSpeeds). The file is replaced whole once all is measured, or
// not at all.
namespace MeasureSpeeds {

struct Setup
{
    BoardType board;
    QString port;
    // The profile as read from path, which it is written back to.
    QString path;
    const LensProfile *profile;
};

// Prints each measurement, then the time it all took; returns what failed,
// empty when the speeds were written.
QString run(const Setup &setup, const LensSession::DriverFactory &factory, QTextStream &out);

} // namespace MeasureSpeeds

#endif // MEASURESPEEDS_H
