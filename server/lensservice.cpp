#include "lensservice.h"

#include "exchangerecord.h"
#include "lensmotor.h"
#include "outcomewords.h"

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

LensService::LensService(BoardType board, const QString &port, const LensSession::DriverFactory &factory,
                         QObject *parent)
    : QObject(parent)
    , m_session(board, port, LensSession::Threading::OwnThread, factory)
{
    connect(&m_session, &LensSession::positionChanged, this,
            [this](int motor, int position) { emit changed({{motorName(motor), position}}); });
    connect(&m_session, &LensSession::maximumChanged, this,
            [this](int motor, int maximum) { emit changed({{motorName(motor) + QStringLiteral("Max"), maximum}}); });
    connect(&m_session, &LensSession::runningChanged, this,
            [this] { emit changed({{QStringLiteral("running"), runningNames()}}); });
    connect(&m_session, &LensSession::failed, this,
            [this](const SessionResult &result) { emit failed(failure(result)); });
    connect(&m_session, &LensSession::finished, this, &LensService::finished);
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
    case SessionResult::Kind::Stopping:
        return errorReply(503, QStringLiteral("the server is stopping"));
    }
    return {200, status()};
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

QJsonObject LensService::status() const
{
    QJsonObject object{{QStringLiteral("board"), ExchangeRecord::boardName(m_session.board()).toLower()},
                       {QStringLiteral("port"), m_session.portName()},
                       {QStringLiteral("running"), runningNames()}};
    for (const LensMotor &motor : LensMotor::all()) {
        const QString name = QLatin1String(motor.name);
        const std::optional<int> position = m_session.position(motor);
        const std::optional<int> maximum = m_session.maximum(motor);
        object.insert(name, position ? QJsonValue(*position) : QJsonValue());
        object.insert(name + QStringLiteral("Max"), maximum ? QJsonValue(*maximum) : QJsonValue());
    }
    return object;
}

void LensService::shutdown()
{
    m_session.shutdown();
}

bool LensService::isIdle() const
{
    return m_session.isIdle();
}
