#include "httpdecoder.h"

#include "exchangerecord.h"
#include "unitwords.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cmath>
#include <limits>

namespace {

HttpDecoding failure(int status, const QString &error)
{
    HttpDecoding decoding;
    decoding.status = status;
    decoding.error = error;
    return decoding;
}

HttpDecoding success(const SessionRequest &request)
{
    HttpDecoding decoding;
    decoding.request = request;
    return decoding;
}

// A whole number from minimum to maximum; JSON has only one kind of number.
std::optional<int> wholeNumber(const QJsonValue &value, double minimum, double maximum)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number != std::floor(number) || number < minimum || number > maximum)
        return std::nullopt;
    return int(number);
}

// 0 low, 1 medium, 2 high; -1 for anything else.
int speedLevel(const QJsonValue &speed)
{
    if (!speed.isString())
        return -1;
    return QStringList{QStringLiteral("low"), QStringLiteral("medium"), QStringLiteral("high")}.indexOf(
        speed.toString().toLower());
}

// {"mm": 35} for the zoom, {"m": 2.5} or {"m": "inf"} for the focus,
// {"f": 4} for the iris.
HttpDecoding unitGoto(SessionRequest request, const QJsonValue &given)
{
    const UnitWord &unit = unitWords[size_t(request.motor->index())];
    const bool infinity = unit.unit == LensValue::Unit::Metres && given.toString().toLower() == QLatin1String("inf");
    const LensValue value{unit.unit, infinity ? std::numeric_limits<double>::infinity() : given.toDouble()};
    if (!infinity && !(given.isDouble() && value.value > 0))
        return failure(400, QStringLiteral("%1 must be a number above 0%2")
                                .arg(QLatin1String(unit.word),
                                     unit.unit == LensValue::Unit::Metres ? " or \"inf\"" : ""));
    request.kind = SessionRequest::Kind::Goto;
    HttpDecoding decoding = success(request);
    decoding.value = value;
    return decoding;
}

HttpDecoding placeRequest(SessionRequest request, const QJsonObject &body);

// A timed move's "seconds", into decoding's request; false, with decoding
// the error, when they are not a time.
bool takeSeconds(const QJsonObject &body, HttpDecoding *decoding)
{
    const QJsonValue seconds = body.value(QLatin1String("seconds"));
    if (seconds.isUndefined())
        return true;
    if (!seconds.isDouble() || !(seconds.toDouble() > 0 && seconds.toDouble() <= SessionRequest::maximumSeconds)) {
        *decoding = failure(400, QStringLiteral("seconds must be a number above 0 and up to %1").arg(SessionRequest::maximumSeconds));
        return false;
    }
    if (body.contains(QLatin1String("speed"))) {
        *decoding = failure(400, QStringLiteral("give a speed or seconds, not both"));
        return false;
    }
    decoding->request->seconds = seconds.toDouble();
    return true;
}

HttpDecoding gotoRequest(SessionRequest request, const QJsonObject &body)
{
    HttpDecoding decoding = placeRequest(request, body);
    if (decoding.request)
        takeSeconds(body, &decoding);
    return decoding;
}

HttpDecoding placeRequest(SessionRequest request, const QJsonObject &body)
{
    // Exactly one place to go: a position, or a value in the motor's own unit.
    const QString unit = QLatin1String(unitWords[size_t(request.motor->index())].word);
    qsizetype places = body.contains(QLatin1String("position"));
    for (const UnitWord &word : unitWords)
        places += body.contains(QLatin1String(word.word));
    if (places > 1 || (places == 1 && !body.contains(QLatin1String("position")) && !body.contains(unit)))
        return failure(400, QStringLiteral("give one of position and %1 for the %2")
                                .arg(unit, QLatin1String(request.motor->name)));
    if (body.contains(unit))
        return unitGoto(request, body.value(unit));
    const std::optional<int> position =
        wholeNumber(body.value(QLatin1String("position")), 0, std::numeric_limits<int>::max());
    if (!position)
        return failure(400, QStringLiteral("position must be a whole number from 0 up"));
    request.kind = SessionRequest::Kind::Goto;
    request.value = *position;
    return success(request);
}

HttpDecoding runRequest(SessionRequest request, const QJsonObject &body)
{
    const LensMotor &motor = *request.motor;
    const QString direction = body.value(QLatin1String("direction")).toString().toLower();
    request.direction = direction == QLatin1String(motor.directions[LensMotor::towardsMaximum])
        ? LensMotor::towardsMaximum
        : LensMotor::towardsZero;
    if (direction != QLatin1String(motor.directions[request.direction]))
        return failure(400, QStringLiteral("direction must be %1 or %2 for the %3")
                                .arg(QLatin1String(motor.directions[0]), QLatin1String(motor.directions[1]),
                                     QLatin1String(motor.name)));
    const QJsonValue speed = body.value(QLatin1String("speed"));
    if (!speed.isUndefined()) {
        if (!motor.setSpeed)
            return failure(400, QStringLiteral("the %1 speed cannot be chosen").arg(QLatin1String(motor.name)));
        request.speed = speedLevel(speed);
        if (request.speed < 0)
            return failure(400, QStringLiteral("speed must be low, medium or high"));
    }
    // A remote run is held by its repeats: a client that dies cannot leave
    // the motor running.
    request.holdMs = SessionRequest::defaultHoldMs;
    const QJsonValue hold = body.value(QLatin1String("hold_ms"));
    if (!hold.isUndefined()) {
        const std::optional<int> holdMs = wholeNumber(hold, SessionRequest::minimumHoldMs, SessionRequest::maximumHoldMs);
        if (!holdMs)
            return failure(400, QStringLiteral("hold_ms must be a whole number from %1 to %2")
                                    .arg(SessionRequest::minimumHoldMs)
                                    .arg(SessionRequest::maximumHoldMs));
        request.holdMs = *holdMs;
    }
    request.kind = SessionRequest::Kind::Run;
    return success(request);
}

HttpDecoding motorRequest(BoardType board, const QString &name, const QString &action, const QJsonObject &body)
{
    SessionRequest request;
    request.motor = LensMotor::named(name);
    if (!request.motor)
        return failure(404, QStringLiteral("no such motor: %1").arg(name));
    if (!request.motor->isOn(board))
        return failure(404, QStringLiteral("the %1 board has no %2 motor")
                                .arg(ExchangeRecord::boardName(board), name));
    if (action == QLatin1String("goto"))
        return gotoRequest(request, body);
    if (action == QLatin1String("run"))
        return runRequest(request, body);
    request.kind = SessionRequest::Kind::Stop;
    return success(request);
}

HttpDecoding presetRequest(const QString &number, const QString &action, const QJsonObject &body)
{
    bool isNumber = false;
    SessionRequest request;
    request.value = number.toInt(&isNumber);
    if (!isNumber)
        return failure(404, QStringLiteral("no such preset: %1").arg(number));
    if (request.value < SessionRequest::firstPreset || request.value > SessionRequest::lastPreset)
        return failure(400, QStringLiteral("preset must be from %1 to %2")
                                .arg(SessionRequest::firstPreset)
                                .arg(SessionRequest::lastPreset));
    request.kind = action == QLatin1String("call") ? SessionRequest::Kind::PresetCall
                                                    : SessionRequest::Kind::PresetStore;
    // A call may move at a speed of its own; a store keeps no speed.
    const QJsonValue speed = body.value(QLatin1String("speed"));
    if (!speed.isUndefined()) {
        if (request.kind == SessionRequest::Kind::PresetStore)
            return failure(400, QStringLiteral("a preset is stored without a speed"));
        request.speed = speedLevel(speed);
        if (request.speed < 0)
            return failure(400, QStringLiteral("speed must be low, medium or high"));
    }
    HttpDecoding decoding = success(request);
    if (request.kind == SessionRequest::Kind::PresetStore && body.contains(QLatin1String("seconds")))
        return failure(400, QStringLiteral("a preset is stored without a time"));
    takeSeconds(body, &decoding);
    return decoding;
}

HttpDecoding trackingRequest(const QJsonObject &body)
{
    const QJsonValue on = body.value(QLatin1String("on"));
    if (!on.isBool())
        return failure(400, QStringLiteral("on must be true or false"));
    HttpDecoding decoding;
    decoding.tracking = on.toBool();
    return decoding;
}

} // namespace

HttpDecoding HttpDecoder::decode(BoardType board, const QByteArray &method, const QString &path,
                                 const QByteArray &body)
{
    if (body.size() > maximumBodySize)
        return failure(413, QStringLiteral("the body is larger than %1 bytes").arg(maximumBodySize));
    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() < 3 || !parts.at(0).isEmpty() || parts.at(1) != QLatin1String("v1"))
        return failure(404, QStringLiteral("no such path: %1").arg(path));

    // Which of the API's paths this is, and the one method it takes.
    const QString &first = parts.at(2);
    const bool isPostAction = parts.size() == 3
        && (first == QLatin1String("refresh") || first == QLatin1String("calibrate") || first == QLatin1String("store"));
    const bool isMotor = parts.size() == 4
        && (parts.at(3) == QLatin1String("goto") || parts.at(3) == QLatin1String("run")
            || parts.at(3) == QLatin1String("stop"));
    const bool isPreset = parts.size() == 5 && first == QLatin1String("presets")
        && (parts.at(4) == QLatin1String("call") || parts.at(4) == QLatin1String("store"));
    const bool isStatus = parts.size() == 3 && first == QLatin1String("status");
    const bool isLive = parts.size() == 3 && first == QLatin1String("live");
    const bool isTracking = parts.size() == 3 && first == QLatin1String("tracking");
    if (!isPostAction && !isMotor && !isPreset && !isStatus && !isLive && !isTracking)
        return failure(404, QStringLiteral("no such path: %1").arg(path));
    const QByteArray expected = isStatus || isLive ? QByteArrayLiteral("GET") : QByteArrayLiteral("POST");
    if (method != expected)
        return failure(405, QStringLiteral("%1 takes %2 only").arg(path, QString::fromLatin1(expected)));
    if (isLive)
        return failure(400, QStringLiteral("%1 is a WebSocket: ask for an upgrade").arg(path));
    if (isStatus)
        return success(SessionRequest{});

    QJsonObject object;
    if (!body.trimmed().isEmpty()) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(body, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject())
            return failure(400, QStringLiteral("the body is not a JSON object"));
        object = document.object();
    }
    if (isMotor)
        return motorRequest(board, first, parts.at(3), object);
    if (isPreset)
        return presetRequest(parts.at(3), parts.at(4), object);
    if (isTracking)
        return trackingRequest(object);
    SessionRequest request;
    request.kind = first == QLatin1String("refresh")   ? SessionRequest::Kind::Refresh
        : first == QLatin1String("calibrate") ? SessionRequest::Kind::Calibrate
                                              : SessionRequest::Kind::Store;
    return success(request);
}

bool HttpDecoder::carriesToken(const QByteArray &authorization, const QByteArray &token)
{
    if (token.isEmpty())
        return true;
    const QByteArray scheme = QByteArrayLiteral("Bearer ");
    if (!authorization.startsWith(scheme))
        return false;
    const QByteArray given = authorization.mid(scheme.size()).trimmed();
    // Every byte is compared, so the time taken tells nothing of how much of
    // a guess was right.
    int difference = int(given.size() ^ token.size());
    for (qsizetype i = 0; i < token.size(); ++i)
        difference |= token.at(i) ^ (i < given.size() ? given.at(i) : 0);
    return difference == 0;
}
