#include "lensrequest.h"

#include <QStringList>

#include <limits>

namespace {

// After acknowledging a calibration the Tavro board runs it on its own; it
// answers nothing useful until it is done.
constexpr unsigned long tavroCalibrationMs = 8000;
constexpr int firstPreset = 1;
constexpr int lastPreset = 10;

// Reads the words after the command name; each reader leaves *error set when
// it returns nothing.
class WordReader
{
public:
    WordReader(LensBoard board, const QStringList &words, QString *error)
        : m_board(board)
        , m_words(words)
        , m_error(error)
    {
    }

    bool hasArguments(int count, const char *what)
    {
        if (m_words.size() - 1 == count)
            return true;
        return fail(QStringLiteral("%1 takes %2").arg(m_words.first(), QLatin1String(what)));
    }

    const LensMotor *motor(int index)
    {
        const LensMotor *motor = LensMotor::named(m_words.at(index));
        if (!motor) {
            fail(QStringLiteral("unknown motor '%1' (zoom, focus or iris)").arg(m_words.at(index)));
            return nullptr;
        }
        if (!motor->isOn(m_board)) {
            fail(QStringLiteral("the Pellan board has no %1 motor").arg(QLatin1String(motor->name)));
            return nullptr;
        }
        return motor;
    }

    std::optional<int> number(int index, int minimum, int maximum, const char *what)
    {
        bool ok = false;
        const int value = m_words.at(index).toInt(&ok);
        if (ok && value >= minimum && value <= maximum)
            return value;
        const QString range = maximum == std::numeric_limits<int>::max()
            ? QStringLiteral("a whole number from %1").arg(minimum)
            : QStringLiteral("a whole number from %1 to %2").arg(minimum).arg(maximum);
        fail(QStringLiteral("bad %1 '%2' (%3)").arg(QLatin1String(what), m_words.at(index), range));
        return std::nullopt;
    }

    // The index of the word at index in choices.
    std::optional<int> choice(int index, const QStringList &choices)
    {
        const int found = choices.indexOf(m_words.at(index));
        if (found >= 0)
            return found;
        fail(QStringLiteral("'%1' is not one of %2").arg(m_words.at(index), choices.join(QLatin1Char('|'))));
        return std::nullopt;
    }

    bool fail(const QString &error)
    {
        *m_error = error;
        return false;
    }

private:
    LensBoard m_board;
    const QStringList &m_words;
    QString *m_error;
};

using Command = std::function<void(Controller &)>;

std::optional<Command> setCommand(WordReader &reader)
{
    const LensMotor *motor = reader.hasArguments(2, "a motor and a position") ? reader.motor(1) : nullptr;
    const std::optional<int> position = motor ? reader.number(2, 0, std::numeric_limits<int>::max(), "position")
                                              : std::nullopt;
    if (!position)
        return std::nullopt;
    return [set = motor->setPosition, value = *position](Controller &c) { (c.*set)(value); };
}

std::optional<Command> runCommand(WordReader &reader)
{
    const LensMotor *motor = reader.hasArguments(2, "a motor and a direction") ? reader.motor(1) : nullptr;
    const std::optional<int> direction = motor
        ? reader.choice(2, {QLatin1String(motor->directions[0]), QLatin1String(motor->directions[1])})
        : std::nullopt;
    if (!direction)
        return std::nullopt;
    return [run = motor->runs[*direction]](Controller &c) { (c.*run)(); };
}

std::optional<Command> stopCommand(WordReader &reader)
{
    const LensMotor *motor = reader.hasArguments(1, "a motor") ? reader.motor(1) : nullptr;
    if (!motor)
        return std::nullopt;
    return [stop = motor->stop](Controller &c) { (c.*stop)(); };
}

std::optional<Command> presetCommand(WordReader &reader, LensBoard board)
{
    if (!reader.hasArguments(2, "store or call and a preset number"))
        return std::nullopt;
    const std::optional<int> action = reader.choice(1, {QStringLiteral("store"), QStringLiteral("call")});
    const std::optional<int> preset = action ? reader.number(2, firstPreset, lastPreset, "preset")
                                             : std::nullopt;
    if (!preset)
        return std::nullopt;
    const char number = char(*preset);
    if (*action == 1)
        return [number](Controller &c) { c.callPreset(number); };
    if (board == LensBoard::Tavro)
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

std::optional<Command> speedCommand(WordReader &reader)
{
    const LensMotor *motor = reader.hasArguments(2, "a motor and a speed") ? reader.motor(1) : nullptr;
    if (motor && !motor->setSpeed) {
        reader.fail(QStringLiteral("the %1 speed cannot be chosen").arg(QLatin1String(motor->name)));
        return std::nullopt;
    }
    const std::optional<int> level = motor
        ? reader.choice(2, {QStringLiteral("low"), QStringLiteral("medium"), QStringLiteral("high")})
        : std::nullopt;
    if (!level)
        return std::nullopt;
    return [set = motor->setSpeed, speed = char(*level)](Controller &c) { (c.*set)(speed); };
}

} // namespace

std::optional<LensRequest> LensRequest::parse(LensBoard board, const QStringList &words, QString *error)
{
    if (words.isEmpty()) {
        *error = QStringLiteral("no command given");
        return std::nullopt;
    }
    LensRequest request;
    request.words = words.join(QLatin1Char(' '));
    WordReader reader(board, words, error);
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
        if (board == LensBoard::Tavro)
            request.settleMs = tavroCalibrationMs;
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
