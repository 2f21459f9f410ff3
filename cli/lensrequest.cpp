#include "lensrequest.h"

#include "commandwords.h"
#include "controller_tavro.h"

#include <QStringList>

#include <limits>

namespace {

constexpr int firstPreset = 1;
constexpr int lastPreset = 10;

using Command = std::function<void(Controller &)>;

const QStringList &speedWords()
{
    static const QStringList words{QStringLiteral("low"), QStringLiteral("medium"), QStringLiteral("high")};
    return words;
}

std::optional<Command> setCommand(CommandWords &words)
{
    const LensMotor *motor = words.hasArguments(2, "a motor and a position") ? words.motor(1) : nullptr;
    const std::optional<int> position = motor ? words.number(2, 0, std::numeric_limits<int>::max(), "position")
                                              : std::nullopt;
    if (!position)
        return std::nullopt;
    return [set = motor->setPosition, value = *position](Controller &c) { (c.*set)(value); };
}

std::optional<Command> runCommand(CommandWords &words)
{
    const LensMotor *motor = words.hasArguments(2, "a motor and a direction") ? words.motor(1) : nullptr;
    const std::optional<int> direction = motor
        ? words.choice(2, {QLatin1String(motor->directions[0]), QLatin1String(motor->directions[1])})
        : std::nullopt;
    if (!direction)
        return std::nullopt;
    return [run = motor->runs[*direction]](Controller &c) { (c.*run)(); };
}

std::optional<Command> stopCommand(CommandWords &words)
{
    const LensMotor *motor = words.hasArguments(1, "a motor") ? words.motor(1) : nullptr;
    if (!motor)
        return std::nullopt;
    return [stop = motor->stop](Controller &c) { (c.*stop)(); };
}

std::optional<Command> presetCommand(CommandWords &words, BoardType board)
{
    // A call may name a speed of its own; a store has none to keep.
    const bool withSpeed = words.argumentCount() == 3 && words.choice(1, {QStringLiteral("call")});
    if (!words.hasArguments(withSpeed ? 3 : 2, "store or call and a preset number, and a call a speed"))
        return std::nullopt;
    const std::optional<int> action = words.choice(1, {QStringLiteral("store"), QStringLiteral("call")});
    const std::optional<int> preset = action ? words.number(2, firstPreset, lastPreset, "preset")
                                             : std::nullopt;
    const std::optional<int> level = preset && withSpeed ? words.choice(3, speedWords()) : std::nullopt;
    if (!preset || (withSpeed && !level))
        return std::nullopt;
    const char number = char(*preset);
    if (level)
        return [number, speed = char(*level)](Controller &c) { c.callPresetAtSpeed(number, speed); };
    if (*action == 1)
        return [number](Controller &c) { c.callPreset(number); };
    if (board == BoardType::Tavro)
        return [number](Controller &c) { c.storePreset(number); };
    // The Pellan driver keeps its presets on this computer and writes them out
    // only when told to store; a driver lives for one run of the tool, so a
    // preset not written at once would be lost when the run ends.
    return [number](Controller &c) {
        const int failuresBefore = c.failureCount();
        c.storePreset(number);
        if (c.failureCount() == failuresBefore)
            c.storeInDevice();
    };
}

std::optional<Command> speedCommand(CommandWords &words)
{
    const LensMotor *motor = words.hasArguments(2, "a motor and a speed") ? words.motor(1) : nullptr;
    if (motor && !motor->setSpeed) {
        words.fail(QStringLiteral("the %1 speed cannot be chosen").arg(QLatin1String(motor->name)));
        return std::nullopt;
    }
    const std::optional<int> level = motor ? words.choice(2, speedWords()) : std::nullopt;
    if (!level)
        return std::nullopt;
    return [set = motor->setSpeed, speed = char(*level)](Controller &c) { (c.*set)(speed); };
}

} // namespace

std::optional<LensRequest> LensRequest::parse(BoardType board, const QStringList &given, QString *error)
{
    if (given.isEmpty()) {
        *error = QStringLiteral("no command given");
        return std::nullopt;
    }
    QStringList words;
    for (const QString &word : given)
        words << word.toLower();
    LensRequest request;
    request.words = words.join(QLatin1Char(' '));
    CommandWords reader(board, words, error);
    const QString &name = words.first();

    if (name == QLatin1String("probe") || name == QLatin1String("get")) {
        if (!reader.hasArguments(0, "no arguments"))
            return std::nullopt;
        request.kind = name == QLatin1String("probe") ? Kind::Probe : Kind::Get;
        return request;
    }

    std::optional<Command> command;
    if (name == QLatin1String("set")) {
        command = setCommand(reader);
    } else if (name == QLatin1String("run")) {
        command = runCommand(reader);
    } else if (name == QLatin1String("stop")) {
        command = stopCommand(reader);
    } else if (name == QLatin1String("preset")) {
        command = presetCommand(reader, board);
    } else if (name == QLatin1String("speed")) {
        command = speedCommand(reader);
    } else if (name == QLatin1String("calibrate")) {
        if (reader.hasArguments(0, "no arguments"))
            command = [](Controller &c) { c.calibrateAll(); };
        // The Pellan driver waits for its calibration runs itself.
        if (board == BoardType::Tavro)
            request.settleMs = ControllerTavro::calibrationMs;
    } else if (name == QLatin1String("store")) {
        if (reader.hasArguments(0, "no arguments"))
            command = [](Controller &c) { c.storeInDevice(); };
    } else {
        *error = QStringLiteral("unknown command '%1'").arg(name);
    }
    if (!command)
        return std::nullopt;
    request.command = std::move(*command);
    return request;
}
