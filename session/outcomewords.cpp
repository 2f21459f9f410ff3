#include "outcomewords.h"

#include "outcome.h"

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
