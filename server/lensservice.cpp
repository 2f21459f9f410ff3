#include "lensservice.h"

#include "exchangerecord.h"
#include "lensmotor.h"
#include "outcomewords.h"

#include <cmath>

namespace {

LensService::Reply errorReply(int status, const QString &text)
{
    return {status, QJsonObject{{QStringLiteral("error"), text}}};
}

QString motorName(int motor)
{
    return QLatin1String(LensMotor::all()[size_t(motor)].name);
}

} // namespace

LensService::LensService(BoardType board, const QString &port, std::optional<LensProfile> profile,
                         const LensSession::DriverFactory &factory, QObject *parent)
    : QObject(parent)
    , m_session(board, port, LensSession::Threading::OwnThread, factory)
    , m_profile(std::move(profile))
    , m_readings(readings())
{
    if (m_profile)
        m_session.setProfile(std::make_shared<const LensProfile>(*m_profile));
    // A zoom that moves changes the focus distance too, at the same focus.
    connect(&m_session, &LensSession::positionChanged, this, [this](int motor, int position) {
        QJsonObject delta{{motorName(motor), position}};
        const QJsonObject now = readings();
        for (auto it = now.begin(); it != now.end(); ++it) {
            if (m_readings.value(it.key()) != it.value())
                delta.insert(it.key(), it.value());
        }
        m_readings = now;
        emit changed(delta);
    });
    connect(&m_session, &LensSession::maximumChanged, this,
            [this](int motor, int maximum) { emit changed({{motorName(motor) + QStringLiteral("Max"), maximum}}); });
    connect(&m_session, &LensSession::runningChanged, this,
            [this] { emit changed({{QStringLiteral("running"), runningNames()}}); });
    connect(&m_session, &LensSession::failed, this,
            [this](const SessionResult &result) { emit failed(failure(result)); });
    connect(&m_session, &LensSession::trackingChanged, this,
            [this](bool on) { emit changed({{QStringLiteral("tracking"), on}}); });
    connect(&m_session, &LensSession::finished, this, &LensService::finished);
}

LensService::Reply LensService::setTracking(bool on)
{
    if (m_session.setTracking(on).kind == SessionResult::Kind::NoFocusCurve)
        return errorReply(400, OutcomeWords::noFocusCurve());
    return {200, status()};
}

LensService::~LensService() = default;

void LensService::start(bool calibrate)
{
    SessionRequest request;
    request.kind = calibrate ? SessionRequest::Kind::Calibrate : SessionRequest::Kind::Refresh;
    m_session.submit(request);
}

void LensService::submit(const SessionRequest &request, const Done &done)
{
    if (request.kind == SessionRequest::Kind::Status && done) {
        done({200, status()});
        return;
    }
    m_session.submit(request, [this, request, done](const SessionResult &result) {
        if (done)
            done(replyTo(request, result));
    });
}

void LensService::release(const void *holder)
{
    if (holder)
        m_session.releaseAll(holder);
}

LensService::Reply LensService::replyTo(const SessionRequest &request, const SessionResult &result) const
{
    switch (result.kind) {
    case SessionResult::Kind::Done:
        break;
    case SessionResult::Kind::Failed:
        return errorReply(502, failure(result));
    case SessionResult::Kind::OutOfRange:
        return errorReply(400, QStringLiteral("position must be from 0 to %1 for the %2")
                                   .arg(result.value)
                                   .arg(QLatin1String(request.motor->name)));
    case SessionResult::Kind::BeyondLimit:
        return errorReply(400, OutcomeWords::beyondLimit(request.motor->name, result.value));
    case SessionResult::Kind::Unmeasured:
        return errorReply(400, OutcomeWords::unmeasured());
    case SessionResult::Kind::NoFocusCurve:
        return errorReply(400, OutcomeWords::noFocusCurve());
    case SessionResult::Kind::Stopping:
        return errorReply(503, QStringLiteral("the server is stopping"));
    }
    QJsonObject body = status();
    if (result.boardsOwn)
        body.insert(QStringLiteral("note"), OutcomeWords::boardsOwnPreset(request.value));
    else if (request.seconds > 0) {
        body.insert(QStringLiteral("seconds"), std::round(result.seconds * 100) / 100);
        if (result.lengthened)
            body.insert(QStringLiteral("lengthened"), true);
    }
    return {200, body};
}

QString LensService::failure(const SessionResult &result) const
{
    return OutcomeWords::failure(result.outcome, m_session.portName(), result.query);
}

QJsonArray LensService::runningNames() const
{
    QJsonArray names;
    for (const LensMotor &motor : LensMotor::all()) {
        if (m_session.isRunning(motor))
            names.append(QLatin1String(motor.name));
    }
    return names;
}

QString LensService::resolve(SessionRequest *request, const LensValue &value) const
{
    const QString name = QLatin1String(request->motor->name);
    if (!m_profile)
        return QStringLiteral("the %1 takes a position: the server has no lens profile (--profile)").arg(name);
    const auto axis = LensAxis(request->motor->index());
    const LensMotor &zoomMotor = LensMotor::all()[0];
    const std::optional<int> zoom = m_session.position(zoomMotor);
    if (axis == LensAxis::Focus && zoomMotor.isOn(m_session.board()) && !zoom)
        return QStringLiteral("the zoom position is not known yet: refresh first");
    const LensProfile::Target target = m_profile->positionFor(axis, value, zoom.value_or(0));
    if (!target.position)
        return QStringLiteral("%1 for the %2").arg(LensProfile::problemText(axis, target), name);
    request->value = *target.position;
    return {};
}

QJsonObject LensService::readings() const
{
    const std::optional<int> zoom = m_session.position(LensMotor::all()[0]);
    const std::optional<int> focus = m_session.position(LensMotor::all()[1]);
    const std::optional<int> iris = m_session.position(LensMotor::all()[2]);
    const auto value = [](const std::optional<double> &reading, int decimals) {
        if (!reading)
            return QJsonValue();
        if (std::isinf(*reading))
            return QJsonValue(QStringLiteral("inf"));
        const double scale = std::pow(10.0, decimals);
        return QJsonValue(std::round(*reading * scale) / scale);
    };
    const LensProfile *profile = m_profile ? &*m_profile : nullptr;
    return {
        {QStringLiteral("zoomMm"), value(profile && zoom ? profile->focalLengthMm(*zoom) : std::nullopt, 2)},
        {QStringLiteral("focusM"),
         value(profile && focus ? profile->focusDistanceM(*focus, zoom.value_or(0)) : std::nullopt, 3)},
        {QStringLiteral("irisF"), value(profile && iris ? profile->fNumber(*iris) : std::nullopt, 2)},
        {QStringLiteral("hfovDeg"), value(profile && zoom ? profile->horizontalFovDeg(*zoom) : std::nullopt, 2)},
    };
}

QJsonObject LensService::status() const
{
    QJsonObject object{{QStringLiteral("board"), ExchangeRecord::boardName(m_session.board()).toLower()},
                       {QStringLiteral("port"), m_session.portName()},
                       {QStringLiteral("running"), runningNames()},
                       {QStringLiteral("tracking"), m_session.isTracking()}};
    for (const LensMotor &motor : LensMotor::all()) {
        const QString name = QLatin1String(motor.name);
        const std::optional<int> position = m_session.position(motor);
        const std::optional<int> maximum = m_session.maximum(motor);
        object.insert(name, position ? QJsonValue(*position) : QJsonValue());
        object.insert(name + QStringLiteral("Max"), maximum ? QJsonValue(*maximum) : QJsonValue());
    }
    const QJsonObject units = readings();
    for (auto it = units.begin(); it != units.end(); ++it)
        object.insert(it.key(), it.value());
    for (auto it = m_statusItems.begin(); it != m_statusItems.end(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

void LensService::shutdown()
{
    m_session.shutdown();
}

void LensService::setStatusItem(const QString &key, const QJsonValue &value)
{
    if (m_statusItems.value(key) == value)
        return;
    m_statusItems.insert(key, value);
    emit changed({{key, value}});
}

bool LensService::isIdle() const
{
    return m_session.isIdle();
}
