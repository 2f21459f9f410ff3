#include "speedmeasurement.h"

#include "controller.h"
#include "lensmotor.h"
#include "outcomewords.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>

namespace {

constexpr int highLevel = 2;
const char *const levelNames[] = {"low", "medium", "high"};

} // namespace

SpeedMeasurement::SpeedMeasurement(BoardType board,
                                   const std::array<std::optional<std::pair<int, int>>, lensAxisCount> &limits,
                                   Measured measured)
    : m_board(board)
    , m_limits(limits)
    , m_measured(std::move(measured))
{
}

int SpeedMeasurement::count(BoardType board)
{
    int count = 0;
    for (const LensMotor &motor : LensMotor::all()) {
        if (motor.isOn(board))
            count += motor.setSpeed ? 3 : 1;
    }
    return count;
}

QString SpeedMeasurement::levelName(int level)
{
    return level < 0 ? QString() : QLatin1String(levelNames[level]);
}

QString SpeedMeasurement::words(const Failure &failure, const QString &port)
{
    const QLatin1String motor(failure.motor ? failure.motor->name : "");
    switch (failure.kind) {
    case Failure::Kind::Exchange:
        break;
    case Failure::Kind::TooShort:
        return QStringLiteral("the %1 travels too little to be timed, from %2 to %3")
            .arg(motor).arg(failure.lowest).arg(failure.highest);
    case Failure::Kind::TooFewReadings:
        return QStringLiteral("%1: too few readings between %2 % and %3 % of the travel to time it")
            .arg(failure.level < 0 ? QString(motor) : QStringLiteral("%1 %2").arg(motor, levelName(failure.level)))
            .arg(qRound(SpeedFit::cruiseFrom * 100))
            .arg(qRound(SpeedFit::cruiseTo * 100));
    case Failure::Kind::NoStand:
        return QStringLiteral("the %1 did not come to a stand within %2 s").arg(motor).arg(longestMoveMs / 1000);
    case Failure::Kind::Cancelled:
        return QStringLiteral("the measurement was called off");
    }
    return OutcomeWords::failure(failure.result.outcome, port, failure.result.query);
}

std::optional<SpeedMeasurement::Speeds> SpeedMeasurement::run(Controller &driver, SessionDriver::Done &done)
{
    m_driver = &driver;
    m_done = &done;
    m_failure = {};
    Speeds speeds;
    // Where every motor stands and how far it goes.
    for (const LensMotor &motor : LensMotor::all()) {
        if (!motor.isOn(m_board))
            continue;
        if (!readPosition(motor))
            return std::nullopt;
        const int maximum = (driver.*motor.maximum)();
        if (!check(true))
            return std::nullopt;
        if (maximum < 0) {
            m_failure.result = SessionResult::failure(Outcome(Outcome::Kind::NoReply), true);
            return std::nullopt;
        }
        done.maxima[size_t(motor.index())] = maximum;
    }
    for (const LensMotor &motor : LensMotor::all()) {
        if (!motor.isOn(m_board))
            continue;
        if (!measure(motor, &speeds[size_t(motor.index())])) {
            // Whatever became of the exchange, the motor is not left moving.
            (driver.*motor.stop)();
            driver.takeOutcome();
            return std::nullopt;
        }
    }
    return speeds;
}

bool SpeedMeasurement::measure(const LensMotor &motor, std::vector<double> *speeds)
{
    const auto [lowest, highest] = span(motor);
    if (highest - lowest < shortestTravel) {
        m_failure.lowest = lowest;
        m_failure.highest = highest;
        return fail(Failure::Kind::TooShort, motor);
    }
    // From the nearer end: the first travel is at high speed, and each after
    // it goes back the way the last came.
    const int from = m_done->positions[size_t(motor.index())].value_or(lowest);
    bool upwards = from - lowest <= highest - from;
    const bool hasLevels = motor.setSpeed != nullptr;
    if (!move(motor, hasLevels ? highLevel : -1, upwards ? lowest : highest, nullptr))
        return false;
    const std::vector<int> levels = hasLevels ? std::vector<int>{0, 1, 2} : std::vector<int>{-1};
    for (const int level : levels) {
        std::vector<SpeedFit::Reading> readings;
        if (!move(motor, level, upwards ? highest : lowest, &readings))
            return false;
        const std::optional<double> speed = SpeedFit::cruiseSpeed(readings);
        if (!speed) {
            m_failure.level = level;
            return fail(Failure::Kind::TooFewReadings, motor);
        }
        speeds->push_back(SpeedFit::rounded(*speed));
        if (m_measured)
            m_measured(motor, level, speeds->back());
        upwards = !upwards;
    }
    return true;
}

bool SpeedMeasurement::move(const LensMotor &motor, int level, int target, std::vector<SpeedFit::Reading> *readings)
{
    if (m_cancelled)
        return fail(Failure::Kind::Cancelled, motor);
    if (level >= 0) {
        (m_driver->*motor.setSpeed)(char(level));
        if (!check(false))
            return false;
    }
    const size_t index = size_t(motor.index());
    std::optional<int> position = m_done->positions[index];
    QElapsedTimer clock;
    clock.start();
    if (readings && position)
        readings->push_back({0, *position});
    (m_driver->*motor.setPosition)(target);
    if (!check(false))
        return false;
    qint64 changedMs = 0;
    while (true) {
        // Between two readings, so that the stop goes out at once.
        if (m_cancelled)
            return fail(Failure::Kind::Cancelled, motor);
        // Timed when its answer is in: the board takes the position a
        // reply's length before that, the same for every reading, while the
        // port's opening before it varies.
        if (!readPosition(motor))
            return false;
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        const std::optional<int> now = m_done->positions[index];
        if (now != position)
            changedMs = clock.elapsed();
        position = now;
        if (readings && now)
            readings->push_back({seconds, *now});
        if (now == target || clock.elapsed() - changedMs >= standingMs)
            return true;
        if (clock.elapsed() > longestMoveMs)
            return fail(Failure::Kind::NoStand, motor);
    }
}

bool SpeedMeasurement::check(bool query)
{
    Outcome outcome = m_driver->takeOutcome();
    if (outcome.ok())
        return true;
    m_failure.kind = Failure::Kind::Exchange;
    m_failure.result = SessionResult::failure(std::move(outcome), query);
    return false;
}

bool SpeedMeasurement::readPosition(const LensMotor &motor)
{
    const int position = (m_driver->*motor.position)();
    if (!check(true))
        return false;
    m_done->positions[size_t(motor.index())] = position;
    return true;
}

std::pair<int, int> SpeedMeasurement::span(const LensMotor &motor) const
{
    const int maximum = m_done->maxima[size_t(motor.index())].value_or(0);
    if (const auto &limits = m_limits[size_t(motor.index())])
        return {std::clamp(limits->first, 0, maximum), std::clamp(limits->second, 0, maximum)};
    return {int(std::lround(0.1 * maximum)), int(std::lround(0.9 * maximum))};
}

bool SpeedMeasurement::fail(Failure::Kind kind, const LensMotor &motor)
{
    m_failure.kind = kind;
    m_failure.motor = &motor;
    return false;
}
