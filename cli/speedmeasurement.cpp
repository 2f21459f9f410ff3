#include "speedmeasurement.h"

#include "lensmotor.h"
#include "lensprofile.h"
#include "lenssession.h"
#include "outcomewords.h"

#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace {

constexpr int highLevel = 2;
const char *const levelNames[] = {"low", "medium", "high"};

SessionRequest exactly(SessionRequest::Kind kind, const LensMotor *motor = nullptr)
{
    SessionRequest request;
    request.kind = kind;
    request.motor = motor;
    request.exact = true;
    return request;
}

} // namespace

SpeedMeasurement::SpeedMeasurement(LensSession &session, const LensProfileData &profile, QTextStream &out)
    : m_session(session)
    , m_profile(profile)
    , m_out(out)
{
}

std::optional<SpeedMeasurement::Speeds> SpeedMeasurement::run(QString *problem)
{
    Speeds speeds;
    // Where every motor stands and how far it goes.
    if (!carryOut(exactly(SessionRequest::Kind::Refresh))) {
        *problem = m_problem;
        return std::nullopt;
    }
    for (const LensMotor &motor : LensMotor::all()) {
        if (!motor.isOn(m_session.board()))
            continue;
        if (!measure(motor, &speeds[size_t(motor.index())])) {
            // Whatever became of the exchange, the motor is not left moving.
            m_session.runNow(exactly(SessionRequest::Kind::Stop, &motor));
            *problem = m_problem;
            return std::nullopt;
        }
    }
    return speeds;
}

bool SpeedMeasurement::measure(const LensMotor &motor, std::vector<double> *speeds)
{
    const auto [lowest, highest] = span(motor);
    if (highest - lowest < shortestTravel) {
        m_problem = QStringLiteral("the %1 travels too little to be timed, from %2 to %3")
                        .arg(QLatin1String(motor.name)).arg(lowest).arg(highest);
        return false;
    }
    // From the nearer end: the first travel is at high speed, and each after
    // it goes back the way the last came.
    const int from = m_session.position(motor).value_or(lowest);
    bool upwards = from - lowest <= highest - from;
    const bool hasLevels = motor.setSpeed != nullptr;
    if (!move(motor, hasLevels ? highLevel : -1, upwards ? lowest : highest, nullptr))
        return false;
    const std::vector<int> levels = hasLevels ? std::vector<int>{0, 1, 2} : std::vector<int>{-1};
    for (const int level : levels) {
        std::vector<SpeedFit::Reading> readings;
        if (!move(motor, level, upwards ? highest : lowest, &readings))
            return false;
        const QString what = level < 0 ? QLatin1String(motor.name)
                                       : QStringLiteral("%1 %2").arg(QLatin1String(motor.name), QLatin1String(levelNames[level]));
        const std::optional<double> speed = SpeedFit::cruiseSpeed(readings);
        if (!speed) {
            m_problem = QStringLiteral("%1: too few readings between %2 % and %3 % of the travel to time it")
                            .arg(what).arg(qRound(SpeedFit::cruiseFrom * 100)).arg(qRound(SpeedFit::cruiseTo * 100));
            return false;
        }
        speeds->push_back(SpeedFit::rounded(*speed));
        m_out << what << ' ' << speeds->back() << " counts/s\n";
        m_out.flush();
        upwards = !upwards;
    }
    return true;
}

bool SpeedMeasurement::move(const LensMotor &motor, int level, int target, std::vector<SpeedFit::Reading> *readings)
{
    if (level >= 0) {
        SessionRequest speed = exactly(SessionRequest::Kind::Speed, &motor);
        speed.speed = level;
        if (!carryOut(speed))
            return false;
    }
    std::optional<int> position = m_session.position(motor);
    QElapsedTimer clock;
    clock.start();
    if (readings && position)
        readings->push_back({0, *position});
    SessionRequest goTo = exactly(SessionRequest::Kind::Goto, &motor);
    goTo.value = target;
    if (!carryOut(goTo))
        return false;
    const SessionRequest read = exactly(SessionRequest::Kind::Read, &motor);
    qint64 changedMs = 0;
    while (true) {
        // Timed when its answer is in: the board takes the position a
        // reply's length before that, the same for every reading, while the
        // port's opening before it varies.
        if (!carryOut(read))
            return false;
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        const std::optional<int> now = m_session.position(motor);
        if (now != position)
            changedMs = clock.elapsed();
        position = now;
        if (readings && now)
            readings->push_back({seconds, *now});
        if (now == target || clock.elapsed() - changedMs >= standingMs)
            return true;
        if (clock.elapsed() > longestMoveMs) {
            m_problem = QStringLiteral("the %1 did not come to a stand within %2 s")
                            .arg(QLatin1String(motor.name)).arg(longestMoveMs / 1000);
            return false;
        }
    }
}

bool SpeedMeasurement::carryOut(const SessionRequest &request)
{
    const SessionResult result = m_session.runNow(request);
    if (result.done())
        return true;
    m_problem = OutcomeWords::failure(result.outcome, m_session.portName(), result.query);
    return false;
}

std::pair<int, int> SpeedMeasurement::span(const LensMotor &motor) const
{
    const int maximum = m_session.maximum(motor).value_or(0);
    if (const auto &limits = m_profile.limits[size_t(motor.index())])
        return {std::clamp(limits->first, 0, maximum), std::clamp(limits->second, 0, maximum)};
    return {int(std::lround(0.1 * maximum)), int(std::lround(0.9 * maximum))};
}
