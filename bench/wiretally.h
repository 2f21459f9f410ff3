#ifndef WIRETALLY_H
#define WIRETALLY_H

#include "boardmodel.h"

#include <atomic>
#include <chrono>
#include <memory>

// A board that keeps the tally of its line: every frame that reached it and
// every reply it gave, as the time they take on the wire. A flow's floor is
// then worked out from the frames the program really sent, not from a list
// kept beside it.
class WireTally : public BoardModel
{
public:
    // reaction: the simulator's reaction time, which each reply waits out.
    WireTally(std::unique_ptr<BoardModel> board, std::chrono::microseconds reaction);

    int frameLength() const override { return m_board->frameLength(); }
    int baudRate() const override { return m_board->baudRate(); }
    QByteArray handleFrame(const QByteArray &frame, qint64 nowMs) override;
    QByteArray refusal(const QByteArray &frame) const override { return m_board->refusal(frame); }

    int frames() const { return m_frames; }
    // Frames and replies so far on the wire, ten bit times per byte, plus the
    // reaction before each reply.
    std::chrono::microseconds wireTime() const { return std::chrono::microseconds(m_wireUs); }

private:
    std::unique_ptr<BoardModel> m_board;
    std::chrono::microseconds m_reaction;
    // Written by the simulator's thread, read by the bench's.
    std::atomic<int> m_frames{0};
    std::atomic<qint64> m_wireUs{0};
};

#endif // WIRETALLY_H
