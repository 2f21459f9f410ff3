#include "commandwords.h"

#include <limits>

CommandWords::CommandWords(LensBoard board, const QStringList &words, QString *error)
    : m_board(board)
    , m_words(words)
    , m_error(error)
{
}

bool CommandWords::hasArguments(int count, const char *what)
{
    if (m_words.size() - 1 == count)
        return true;
    return fail(QStringLiteral("%1 takes %2").arg(m_words.first(), QLatin1String(what)));
}

const LensMotor *CommandWords::motor(int index)
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

std::optional<int> CommandWords::number(int index, int minimum, int maximum, const char *what)
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

std::optional<int> CommandWords::choice(int index, const QStringList &choices)
{
    const int found = int(choices.indexOf(m_words.at(index)));
    if (found >= 0)
        return found;
    fail(QStringLiteral("'%1' is not one of %2").arg(m_words.at(index), choices.join(QLatin1Char('|'))));
    return std::nullopt;
}

bool CommandWords::fail(const QString &error)
{
    *m_error = error;
    return false;
}
