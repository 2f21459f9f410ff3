#ifndef SPEEDMEASUREMENT_H
#define SPEEDMEASUREMENT_H

#include "lensaxis.h"
#include "speedfit.h"

#include <QString>

#include <array>
#include <optional>
#include <utility>
#include <vector>

class LensSession;
class QTextStream;
struct LensMotor;
struct LensProfileData;
struct SessionRequest;

// Times every motor of the board at each of its speeds, as a lens profile's
// `speeds` holds them: zoom and focus at low, medium and high, an iris at its
// one speed. Each motor travels within the profile's limits, or the middle
// 80 % of its range without them, to and fro: to the nearer end at high
// speed first, then once at each speed, every one the other way, read as fast
// as the line allows. The session needs no profile of its own; the motors'
// speed levels are left at high.
class SpeedMeasurement
{
public:
    using Speeds = std::array<std::vector<double>, lensAxisCount>;

    // A motor not standing after this long is stopped, and the measurement
    // ends.
    static constexpr int longestMoveMs = 60000;
    // A motor whose position has not changed for this long stands, even short
    // of its target (an end stop).
    static constexpr int standingMs = 300;
    // A shorter travel is too short to time.
    static constexpr int shortestTravel = 20;

    // Every measurement prints a line on out as it ends, such as
    // "zoom low 1500 counts/s" or "iris 2750 counts/s".
    SpeedMeasurement(LensSession &session, const LensProfileData &profile, QTextStream &out);

    // The speeds of every motor the board has; nothing, with *problem saying
    // why, when an exchange failed or a motor could not be timed, the motor
    // then moving sent a stop.
    std::optional<Speeds> run(QString *problem);

private:
    bool measure(const LensMotor &motor, std::vector<double> *speeds);
    // Sends motor to target at level (-1: at its one speed) and reads it
    // until it stands; into *readings, if given, from where it set off.
    bool move(const LensMotor &motor, int level, int target, std::vector<SpeedFit::Reading> *readings);
    bool carryOut(const SessionRequest &request);
    // The lowest and highest position motor travels between.
    std::pair<int, int> span(const LensMotor &motor) const;

    LensSession &m_session;
    const LensProfileData &m_profile;
    QTextStream &m_out;
    QString m_problem;
};

#endif // SPEEDMEASUREMENT_H
