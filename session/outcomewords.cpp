#include "outcomewords.h"

#include "outcome.h"

QString OutcomeWords::beyondLimit(const char *motor, int limit)
{
    return QStringLiteral("the %1 goes no further than its limit %2 in the lens's profile")
        .arg(QLatin1String(motor))
        .arg(limit);
}

QString OutcomeWords::failure(const Outcome &outcome, const QString &port, bool query)
{
    switch (outcome.kind) {
    case Outcome::Kind::Ok:
        break;
    case Outcome::Kind::NoReply:
        if (query)
            return QStringLiteral("no valid answer from the board on ") + port;
        break;
    case Outcome::Kind::Rejected:
        if (!outcome.reason.isEmpty())
            return outcome.reason;
        break;
    case Outcome::Kind::PortFailure:
        if (outcome.whileWriting)
            return QStringLiteral("Could not write the frame to serial port: %1 (%2)").arg(port, outcome.reason);
        [[fallthrough]];
    case Outcome::Kind::Busy:
        return QStringLiteral("Could not open serial port: %1 (%2)").arg(port, outcome.reason);
    }
    return QStringLiteral("the board on %1 rejected the command or did not acknowledge it").arg(port);
}
