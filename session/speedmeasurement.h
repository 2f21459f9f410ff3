#ifndef SPEEDMEASUREMENT_H
#define SPEEDMEASUREMENT_H

#include "boardtype.h"
#include "lensaxis.h"
#include "sessiondriver.h"
#include "sessionresult.h"
#include "speedfit.h"

#include <QString>

#include <array>
#include <atomic>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class Controller;
struct LensMotor;

// Times every motor of the board at each of its speeds, as a lens profile's
// `speeds` holds them: zoom and focus at low, medium and high, an iris at its
// one speed. Each motor travels within the profile's limits, or the middle
// 80 % of its range without them, to and fro: to the nearer end at high
// speed first, then once at each speed, every one the other way, read as fast
// as the line allows. It is work of a front end's own on the session's
// driver (LensSession::submitWork, runWorkNow): it blocks the driver's thread
// for as long as the travels take, and the front end hears each speed as it
// is measured. The motors' speed levels are left at high.
class SpeedMeasurement
{
public:
    using Speeds = std::array<std::vector<double>, lensAxisCount>;
    // Heard on the driver's thread: motor's speed at level (-1 for its one
    // speed) in counts per second, rounded as a profile keeps it.
    using Measured = std::function<void(const LensMotor &motor, int level, double speed)>;

    // Why the measurement ended without the speeds.
    struct Failure
    {
        enum class Kind {
            // An exchange failed: result says how.
            Exchange,
            // The motor's travel, from lowest to highest, is too short.
            TooShort,
            // Too few readings within the cruising share at level.
            TooFewReadings,
            // The motor did not stand within longestMoveMs.
            NoStand,
            // The front end called it off.
            Cancelled,
        };
        Kind kind = Kind::Exchange;
        SessionResult result;
        const LensMotor *motor = nullptr;
        int level = -1;
        int lowest = 0;
        int highest = 0;
    };

    // A motor not standing after this long is stopped, and the measurement
    // ends.
    static constexpr int longestMoveMs = 60000;
    // A motor whose position has not changed for this long stands, even short
    // of its target (an end stop).
    static constexpr int standingMs = 300;
    // A shorter travel is too short to time.
    static constexpr int shortestTravel = 20;

    // limits: the profile's, by LensAxis.
    SpeedMeasurement(BoardType board, const std::array<std::optional<std::pair<int, int>>, lensAxisCount> &limits,
                     Measured measured);

    // How many speeds the board's motors have: the lines a measurement tells.
    static int count(BoardType board);
    // "low", "medium", "high"; empty for -1, a motor's one speed.
    static QString levelName(int level);
    // The tool's and the server's words for a failure: English, one line.
    static QString words(const Failure &failure, const QString &port);

    // Called off from any thread: the motor on its way is sent a stop at its
    // next reading, and the measurement ends with Cancelled.
    void cancel() { m_cancelled = true; }

    // On the driver, as session work: the speeds of every motor the board
    // has, and in done what was read. Nothing, failure() saying why, when an
    // exchange failed, a motor could not be timed or the measurement was
    // called off; the motor then on its way was sent a stop.
    std::optional<Speeds> run(Controller &driver, SessionDriver::Done &done);
    const Failure &failure() const { return m_failure; }

private:
    bool measure(const LensMotor &motor, std::vector<double> *speeds);
    // Sends motor to target at level (-1: at its one speed) and reads it
    // until it stands; into *readings, if given, from where it set off.
    bool move(const LensMotor &motor, int level, int target, std::vector<SpeedFit::Reading> *readings);
    // The driver's outcome since the last look: false, the failure kept,
    // when the exchange failed.
    bool check(bool query);
    bool readPosition(const LensMotor &motor);
    // The lowest and highest position motor travels between.
    std::pair<int, int> span(const LensMotor &motor) const;
    bool fail(Failure::Kind kind, const LensMotor &motor);

    BoardType m_board;
    std::array<std::optional<std::pair<int, int>>, lensAxisCount> m_limits;
    Measured m_measured;
    std::atomic<bool> m_cancelled{false};
    // While run() works: the driver and what was read.
    Controller *m_driver = nullptr;
    SessionDriver::Done *m_done = nullptr;
    Failure m_failure;
};

#endif // SPEEDMEASUREMENT_H
