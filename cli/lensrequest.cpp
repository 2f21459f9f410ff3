#include "lensrequest.h"

#include "commandwords.h"
#include "lenssession.h"
#include "lensprofile.h"
#include "outcomewords.h"

#include <QLocale>
#include <QStringList>

#include <limits>

namespace {

using SessionKind = SessionRequest::Kind;

const QStringList &speedWords()
{
    static const QStringList words{QStringLiteral("low"), QStringLiteral("medium"), QStringLiteral("high")};
    return words;
}

// A command sends the frames its words name and nothing more: scripts on
// test benches count on them.
SessionRequest exactly(SessionKind kind)
{
    SessionRequest request;
    request.kind = kind;
    request.exact = true;
    return request;
}

// A position in the lens's units: where the profile puts it, or, for a
// focus distance that depends on the zoom, the distance in *focusMetres once
// its unit and table have been checked; nothing, with the error saying why.
std::optional<int> unitPosition(CommandWords &words, const LensMotor &motor, const LensValue &value,
                                const LensProfile *profile, std::optional<double> *focusMetres)
{
    const QString given = QStringLiteral("%1 %2").arg(QLatin1String(motor.name), words.word(2));
    if (!profile) {
        words.fail(QStringLiteral("%1: a position in the lens's units needs --profile").arg(given));
        return std::nullopt;
    }
    const auto axis = LensAxis(motor.index());
    // The zoom is read when the command is carried out; at any zoom the unit
    // and the table are the same.
    const bool atZoom = axis == LensAxis::Focus && LensMotor::all()[0].isOn(words.board());
    const LensProfile::Target target = profile->positionFor(axis, value, 0);
    if (atZoom && (target.position || target.problem == LensProfile::Target::Problem::OutOfRange)) {
        *focusMetres = value.value;
        return 0;
    }
    if (!target.position)
        words.fail(QStringLiteral("%1: %2").arg(given, LensProfile::problemText(axis, target)));
    return target.position;
}

std::optional<SessionRequest> setCommand(CommandWords &words, const LensProfile *profile,
                                         std::optional<double> *focusMetres)
{
    const LensMotor *motor = words.hasArguments(2, "a motor and a position") ? words.motor(1) : nullptr;
    if (!motor)
        return std::nullopt;
    const std::optional<LensValue> value = LensValue::parse(words.word(2), QLocale::c());
    const std::optional<int> position = value && value->unit != LensValue::Unit::Counts
        ? unitPosition(words, *motor, *value, profile, focusMetres)
        : words.number(2, 0, std::numeric_limits<int>::max(), "position");
    if (!position)
        return std::nullopt;
    SessionRequest request = exactly(SessionKind::Goto);
    request.motor = motor;
    request.value = *position;
    return request;
}

std::optional<SessionRequest> runCommand(CommandWords &words)
{
    const LensMotor *motor = words.hasArguments(2, "a motor and a direction") ? words.motor(1) : nullptr;
    const std::optional<int> direction = motor
        ? words.choice(2, {QLatin1String(motor->directions[0]), QLatin1String(motor->directions[1])})
        : std::nullopt;
    if (!direction)
        return std::nullopt;
    // Held by nothing: the motor runs on after the tool until its stop.
    SessionRequest request = exactly(SessionKind::Run);
    request.motor = motor;
    request.direction = *direction;
    return request;
}

std::optional<SessionRequest> stopCommand(CommandWords &words)
{
    const LensMotor *motor = words.hasArguments(1, "a motor") ? words.motor(1) : nullptr;
    if (!motor)
        return std::nullopt;
    SessionRequest request = exactly(SessionKind::Stop);
    request.motor = motor;
    return request;
}

std::optional<SessionRequest> presetCommand(CommandWords &words)
{
    // A call may name a speed of its own; a store has none to keep.
    const bool withSpeed = words.argumentCount() == 3 && words.choice(1, {QStringLiteral("call")});
    if (!words.hasArguments(withSpeed ? 3 : 2, "store or call and a preset number, and a call a speed"))
        return std::nullopt;
    const std::optional<int> action = words.choice(1, {QStringLiteral("store"), QStringLiteral("call")});
    const std::optional<int> preset = action
        ? words.number(2, SessionRequest::firstPreset, SessionRequest::lastPreset, "preset")
        : std::nullopt;
    const std::optional<int> level = preset && withSpeed ? words.choice(3, speedWords()) : std::nullopt;
    if (!preset || (withSpeed && !level))
        return std::nullopt;
    // The session writes a Pellan preset out at once: the driver keeps its
    // presets on this computer, and lives for one run of the tool.
    SessionRequest request = exactly(*action == 1 ? SessionKind::PresetCall : SessionKind::PresetStore);
    request.value = *preset;
    request.speed = level.value_or(-1);
    return request;
}

std::optional<SessionRequest> speedCommand(CommandWords &words)
{
    const LensMotor *motor = words.hasArguments(2, "a motor and a speed") ? words.motor(1) : nullptr;
    if (motor && !motor->setSpeed) {
        words.fail(QStringLiteral("the %1 speed cannot be chosen").arg(QLatin1String(motor->name)));
        return std::nullopt;
    }
    const std::optional<int> level = motor ? words.choice(2, speedWords()) : std::nullopt;
    if (!level)
        return std::nullopt;
    SessionRequest request = exactly(SessionKind::Speed);
    request.motor = motor;
    request.speed = *level;
    return request;
}

} // namespace

std::optional<LensRequest> LensRequest::parse(BoardType board, const QStringList &given, const LensProfile *profile,
                                              QString *error)
{
    if (given.isEmpty()) {
        *error = QStringLiteral("no command given");
        return std::nullopt;
    }
    QStringList words;
    for (const QString &word : given)
        words << word.toLower();
    // "--in S" times a goto or a preset call, wherever it stands.
    double seconds = 0;
    if (const qsizetype in = words.indexOf(QStringLiteral("--in")); in >= 0) {
        bool ok = false;
        seconds = words.value(in + 1).toDouble(&ok);
        if (!ok || !(seconds > 0 && seconds <= SessionRequest::maximumSeconds)) {
            *error = QStringLiteral("--in takes the seconds the move is to take, more than 0 and up to %1")
                         .arg(SessionRequest::maximumSeconds);
            return std::nullopt;
        }
        words.remove(in, 2);
        const bool timeable = words.value(0) == QLatin1String("set")
            || (words.value(0) == QLatin1String("preset") && words.value(1) == QLatin1String("call"));
        if (!timeable) {
            *error = QStringLiteral("--in times a set or a preset call only");
            return std::nullopt;
        }
        if (words.value(0) == QLatin1String("preset") && words.size() > 3) {
            *error = QStringLiteral("a preset call takes a speed or a time (--in), not both");
            return std::nullopt;
        }
    }
    LensRequest request;
    request.words = words.join(QLatin1Char(' '));
    CommandWords reader(board, words, error);
    const QString &name = words.first();

    if (name == QLatin1String("probe") || name == QLatin1String("get")) {
        if (!reader.hasArguments(0, "no arguments"))
            return std::nullopt;
        const bool probe = name == QLatin1String("probe");
        request.kind = probe ? Kind::Probe : Kind::Get;
        request.request = exactly(probe ? SessionRequest::Kind::Probe : SessionRequest::Kind::Refresh);
        return request;
    }

    std::optional<SessionRequest> command;
    if (name == QLatin1String("set")) {
        command = setCommand(reader, profile, &request.focusMetres);
    } else if (name == QLatin1String("run")) {
        command = runCommand(reader);
    } else if (name == QLatin1String("stop")) {
        command = stopCommand(reader);
    } else if (name == QLatin1String("preset")) {
        command = presetCommand(reader);
    } else if (name == QLatin1String("speed")) {
        command = speedCommand(reader);
    } else if (name == QLatin1String("calibrate") || name == QLatin1String("store")) {
        if (reader.hasArguments(0, "no arguments"))
            command = exactly(name == QLatin1String("store") ? SessionRequest::Kind::Store
                                                             : SessionRequest::Kind::Calibrate);
    } else {
        *error = QStringLiteral("unknown command '%1'").arg(name);
    }
    if (!command)
        return std::nullopt;
    request.request = *command;
    request.request.seconds = seconds;
    // Refused before a driver is made, as the session would refuse it.
    if (seconds > 0 && !LensSession::hasSpeedsFor(profile, board, request.request)) {
        *error = OutcomeWords::unmeasured();
        return std::nullopt;
    }
    return request;
}
