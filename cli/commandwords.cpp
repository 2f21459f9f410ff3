#include "commandwords.h"

#include <limits>

CommandWords::CommandWords(BoardType board, const QStringList &words, QString *error)
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
    const bool openEnded = maximum == std::numeric_limits<int>::max();
    if (ok && openEnded && value < minimum)
        fail(QStringLiteral("the %1 must be %2 or more").arg(QLatin1String(what)).arg(minimum));
    else if (openEnded)
        fail(QStringLiteral("bad %1 '%2' (a whole number from %3)")
                 .arg(QLatin1String(what), m_words.at(index))
                 .arg(minimum));
    else
        fail(QStringLiteral("bad %1 '%2' (a whole number from %3 to %4)")
                 .arg(QLatin1String(what), m_words.at(index)).arg(minimum).arg(maximum));
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
