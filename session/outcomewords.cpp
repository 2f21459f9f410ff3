#include "outcomewords.h"

#include "outcome.h"

QString OutcomeWords::beyondLimit(const char *motor, int limit)
{
    return QStringLiteral("the %1 goes no further than its limit %2 in the lens's profile")
        .arg(QLatin1String(motor))
        .arg(limit);
}

QString OutcomeWords::unmeasured()
{
    return QStringLiteral("a timed move needs the motors' measured speeds in the lens's profile: "
                          "measure them with tavro-lensctl --profile FILE measure-speeds");
}

QString OutcomeWords::noFocusCurve()
{
    return QStringLiteral("keeping the focus while zooming needs a lens profile with a focus curve");
}

QString OutcomeWords::boardsOwnPreset(int preset)
{
    return QStringLiteral("preset %1 was never stored from this computer, so where it lies is not known: "
                          "the board recalled it at its own speed")
        .arg(preset);
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
