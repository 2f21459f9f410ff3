#include "exchangerecord.h"

#include "pellanframes.h"
#include "tavroframes.h"

FrameMeaning ExchangeRecord::sentMeaning() const
{
    if (board == BoardType::Pellan)
        return PellanFrames::describeFrame(frame);
    return TavroFrames::describeFrame(frame);
}

FrameMeaning ExchangeRecord::receivedMeaning() const
{
    if (board == BoardType::Pellan)
        return PellanFrames::describeReply(frame, reply);
    return TavroFrames::describeReply(frame, reply);
}

QString ExchangeRecord::approachText() const
{
    if (!approach)
        return {};
    static const char *const motors[] = {"zoom", "focus", "iris"};
    return QStringLiteral("leg %1 of 2 of the %2's move to %3, from beneath")
        .arg(approach->leg)
        .arg(QLatin1String(motors[qBound(0, approach->motor, 2)]))
        .arg(approach->target);
}

QString ExchangeRecord::outcomeText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Ok:
        return QStringLiteral("OK");
    case Outcome::Rejected:
        return QStringLiteral("rejected");
    case Outcome::NoReply:
        return QStringLiteral("no reply");
    case Outcome::IncompleteReply:
        return QStringLiteral("incomplete reply");
    case Outcome::NotWritten:
        return QStringLiteral("frame not written");
    case Outcome::PortNotOpened:
        return QStringLiteral("port not opened");
    case Outcome::PortBusy:
        return QStringLiteral("port busy");
    }
    return QString();
}

QString ExchangeRecord::boardName(BoardType board)
{
    return board == BoardType::Pellan ? QStringLiteral("Pellan") : QStringLiteral("Tavro");
}

std::optional<BoardType> ExchangeRecord::boardOfFrame(const QByteArray &frame)
{
    if (frame.size() == TavroFrames::frameLength)
        return BoardType::Tavro;
    if (frame.size() == PellanFrames::frameLength)
        return BoardType::Pellan;
    return std::nullopt;
}
