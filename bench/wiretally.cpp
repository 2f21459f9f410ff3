#include "wiretally.h"

#include "linedelivery.h"

WireTally::WireTally(std::unique_ptr<BoardModel> board, std::chrono::microseconds reaction)
    : m_board(std::move(board))
    , m_reaction(reaction)
{
}

QByteArray WireTally::handleFrame(const QByteArray &frame, qint64 nowMs)
{
    const QByteArray reply = m_board->handleFrame(frame, nowMs);
    std::chrono::microseconds wire = lineTime(int(frame.size() + reply.size()), baudRate());
    if (!reply.isEmpty())
        wire += m_reaction;
    m_wireUs += wire.count();
    ++m_frames;
    return reply;
}
