#include "exchangerecord.h"

#include "pellanframes.h"
#include "tavroframes.h"

FrameMeaning ExchangeRecord::sentMeaning() const
{
    if (board == Board::Pellan)
        return PellanFrames::describeFrame(frame);
    return TavroFrames::describeFrame(frame);
}

FrameMeaning ExchangeRecord::receivedMeaning() const
{
    if (board == Board::Pellan)
        return PellanFrames::describeReply(frame, reply);
    return TavroFrames::describeReply(frame, reply);
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

QString ExchangeRecord::boardName(Board board)
{
    return board == Board::Pellan ? QStringLiteral("Pellan") : QStringLiteral("Tavro");
}

std::optional<ExchangeRecord::Board> ExchangeRecord::boardOfFrame(const QByteArray &frame)
{
    if (frame.size() == TavroFrames::frameLength)
        return Board::Tavro;
    if (frame.size() == PellanFrames::frameLength)
        return Board::Pellan;
    return std::nullopt;
}
