#include "oscdecoder.h"

#include "unitwords.h"

#include <QStringList>

#include <lo/lo.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

OscDecoding failure(const QString &error)
{
    OscDecoding decoding;
    decoding.error = error;
    return decoding;
}

OscDecoding success(const SessionRequest &request)
{
    OscDecoding decoding;
    decoding.request = request;
    return decoding;
}

QString secondsRange()
{
    return QStringLiteral("a time is above 0 and up to %1 seconds").arg(SessionRequest::maximumSeconds);
}

// A timed move's seconds, into request; false when they are not a time.
bool takeSeconds(const QVariant &seconds, SessionRequest *request)
{
    const double value = seconds.toDouble();
    // Also false for NaN.
    if (!(value > 0 && value <= SessionRequest::maximumSeconds))
        return false;
    request->seconds = value;
    return true;
}

OscDecoding gotoRequest(SessionRequest request, const QByteArray &types, const QVariantList &arguments)
{
    request.kind = SessionRequest::Kind::Goto;
    if (types == "i" || types == "if") {
        request.value = arguments.at(0).toInt();
        if (request.value < 0)
            return failure(QStringLiteral("%1: a position is 0 or more").arg(QLatin1String(request.motor->name)));
        if (types == "if" && !takeSeconds(arguments.at(1), &request))
            return failure(QStringLiteral("%1: %2").arg(QLatin1String(request.motor->name), secondsRange()));
        return success(request);
    }
    if (types == "f") {
        request.share = arguments.at(0).toDouble();
        // Also false for NaN.
        if (!(request.share >= 0.0 && request.share <= 1.0))
            return failure(QStringLiteral("%1: a share is from 0.0 to 1.0").arg(QLatin1String(request.motor->name)));
        return success(request);
    }
    return {};
}

// /lens/zoom/mm f, /lens/focus/m f or I (infinity), /lens/iris/f f.
OscDecoding unitRequest(SessionRequest request, const QByteArray &types, const QVariantList &arguments)
{
    const LensValue::Unit unit = unitWords[size_t(request.motor->index())].unit;
    LensValue value{unit, std::numeric_limits<double>::infinity()};
    if (types == "f") {
        value.value = arguments.at(0).toDouble();
        // Also false for NaN.
        if (!(value.value > 0 && std::isfinite(value.value)))
            return failure(QStringLiteral("%1: a value in the lens's units is above 0")
                               .arg(QLatin1String(request.motor->name)));
    } else if (types != "I" || unit != LensValue::Unit::Metres) {
        return {};
    }
    request.kind = SessionRequest::Kind::Goto;
    OscDecoding decoding = success(request);
    decoding.value = value;
    return decoding;
}

OscDecoding runRequest(SessionRequest request, const QByteArray &types, const QVariantList &arguments)
{
    if (types != "i" && types != "ii")
        return {};
    const QString name = QLatin1String(request.motor->name);
    const int direction = arguments.at(0).toInt();
    if (direction < -1 || direction > 1)
        return failure(QStringLiteral("%1: a run goes 1, -1 or 0 (stop)").arg(name));
    if (types == "ii") {
        request.speed = arguments.at(1).toInt();
        if (!request.motor->setSpeed)
            return failure(QStringLiteral("the %1 speed cannot be chosen").arg(name));
        if (request.speed < 0 || request.speed > 2)
            return failure(QStringLiteral("%1: a speed is 0 (low), 1 (medium) or 2 (high)").arg(name));
    }
    if (direction == 0) {
        request.kind = SessionRequest::Kind::Stop;
        request.speed = -1;
        return success(request);
    }
    request.kind = SessionRequest::Kind::Run;
    request.direction = direction > 0 ? LensMotor::towardsMaximum : LensMotor::towardsZero;
    // Over OSC a run is always held by its repeats.
    request.holdMs = SessionRequest::defaultHoldMs;
    return success(request);
}

OscDecoding motorRequest(BoardType board, const QStringList &parts, const QByteArray &types,
                         const QVariantList &arguments)
{
    SessionRequest request;
    request.motor = LensMotor::named(parts.at(2));
    if (!request.motor)
        return {};
    if (!request.motor->isOn(board))
        return failure(QStringLiteral("this board has no %1 motor").arg(parts.at(2)));
    const QString &action = parts.at(3);
    if (action == QLatin1String("goto"))
        return gotoRequest(request, types, arguments);
    if (action == QLatin1String("run"))
        return runRequest(request, types, arguments);
    if (action == QLatin1String(unitWords[size_t(request.motor->index())].word))
        return unitRequest(request, types, arguments);
    if (action == QLatin1String("stop") && types.isEmpty()) {
        request.kind = SessionRequest::Kind::Stop;
        return success(request);
    }
    return {};
}

OscDecoding presetRequest(const QString &action, const QByteArray &types, const QVariantList &arguments)
{
    // A call may carry a speed or a time of its own; a store keeps neither.
    const bool isCall = action == QLatin1String("call");
    if (!(types == "i" || (isCall && (types == "ii" || types == "if"))) || (!isCall && action != QLatin1String("store")))
        return {};
    SessionRequest request;
    request.kind = isCall ? SessionRequest::Kind::PresetCall : SessionRequest::Kind::PresetStore;
    request.value = arguments.at(0).toInt();
    if (request.value < SessionRequest::firstPreset || request.value > SessionRequest::lastPreset)
        return failure(QStringLiteral("a preset is from %1 to %2")
                           .arg(SessionRequest::firstPreset)
                           .arg(SessionRequest::lastPreset));
    if (types == "ii") {
        request.speed = arguments.at(1).toInt();
        if (request.speed < 0 || request.speed > 2)
            return failure(QStringLiteral("a preset's speed is 0 (low), 1 (medium) or 2 (high)"));
    }
    if (types == "if" && !takeSeconds(arguments.at(1), &request))
        return failure(QStringLiteral("preset call: %1").arg(secondsRange()));
    return success(request);
}

OscDecoding plainRequest(const QString &word, const QByteArray &types, const QVariantList &arguments)
{
    OscDecoding decoding;
    if (word == QLatin1String("tracking") && types == "i") {
        const int on = arguments.at(0).toInt();
        if (on != 0 && on != 1)
            return failure(QStringLiteral("tracking is 1 (on) or 0 (off)"));
        decoding.tracking = on == 1;
        return decoding;
    }
    if (word == QLatin1String("subscribe") && (types.isEmpty() || types == "i")) {
        decoding.port = types.isEmpty() ? 0 : arguments.at(0).toInt();
        if (decoding.port < 0 || decoding.port > 65535)
            return failure(QStringLiteral("a port is from 1 to 65535"));
        decoding.subscription = OscDecoding::Subscription::Subscribe;
        return decoding;
    }
    if (!types.isEmpty())
        return decoding;
    SessionRequest request;
    if (word == QLatin1String("unsubscribe"))
        decoding.subscription = OscDecoding::Subscription::Unsubscribe;
    else if (word == QLatin1String("refresh"))
        request.kind = SessionRequest::Kind::Refresh;
    else if (word == QLatin1String("calibrate"))
        request.kind = SessionRequest::Kind::Calibrate;
    else if (word == QLatin1String("store"))
        request.kind = SessionRequest::Kind::Store;
    else
        return decoding;
    if (decoding.subscription == OscDecoding::Subscription::None)
        decoding.request = request;
    return decoding;
}

} // namespace

OscDecoding OscDecoder::decode(BoardType board, const QString &path, const QByteArray &types,
                               const QVariantList &arguments)
{
    // Every argument the tags announce must be there; each address then
    // takes only its own tags.
    if (arguments.size() != types.size())
        return {};
    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() < 3 || !parts.at(0).isEmpty() || parts.at(1) != QLatin1String("lens"))
        return {};
    if (parts.size() == 3)
        return plainRequest(parts.at(2), types, arguments);
    if (parts.size() == 4 && parts.at(2) == QLatin1String("preset"))
        return presetRequest(parts.at(3), types, arguments);
    if (parts.size() == 4)
        return motorRequest(board, parts, types, arguments);
    return {};
}

OscDecoding OscDecoder::decodePacket(BoardType board, const QByteArray &datagram)
{
    QByteArray data = datagram;
    int result = 0;
    const lo_message message = lo_message_deserialise(data.data(), size_t(data.size()), &result);
    if (!message)
        return {};
    const QString path = QString::fromUtf8(lo_get_path(data.data(), data.size()));
    const QByteArray types(lo_message_get_types(message));
    // liblo's arguments lie at 4-byte steps in the packet, where its union of
    // 8-byte types may not be read in place: each value is copied out.
    lo_arg **const values = lo_message_get_argv(message);
    QVariantList arguments;
    for (qsizetype i = 0; i < types.size(); ++i) {
        qint32 integer = 0;
        float real = 0;
        switch (types.at(i)) {
        case 'i':
            std::memcpy(&integer, values[i], sizeof integer);
            arguments << QVariant(int(integer));
            break;
        case 'f':
            std::memcpy(&real, values[i], sizeof real);
            arguments << QVariant(real);
            break;
        default:
            // No address takes any other type.
            arguments << QVariant();
            break;
        }
    }
    lo_message_free(message);
    return decode(board, path, types, arguments);
}
