#include "boardsimulator.h"

#include <algorithm>

BoardSimulator::BoardSimulator(std::unique_ptr<BoardModel> board)
    : m_board(std::move(board))
{
    m_delivery.baudRate = m_board->baudRate();
    m_clock.start();
    if (m_pty.isOpen())
        m_thread = std::thread([this] { run(); });
}

BoardSimulator::~BoardSimulator()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

void BoardSimulator::setTimeScale(double factor)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // Rebase, so the board's clock goes on from where it is and never jumps.
    m_scaleSinceSimMs = nowMsLocked();
    m_scaleSinceRealMs = m_clock.elapsed();
    m_timeScale = factor > 0 ? qMin(factor, maximumTimeScale) : 1.0;
}

qint64 BoardSimulator::nowMs() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return nowMsLocked();
}

qint64 BoardSimulator::nowMsLocked() const
{
    const qint64 realSince = m_clock.elapsed() - m_scaleSinceRealMs;
    return m_scaleSinceSimMs + qint64(double(realSince) * m_timeScale);
}

void BoardSimulator::setLineDelivery(const LineDelivery &delivery)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_delivery = delivery;
    m_delivery.baudRate = m_board->baudRate();
}

void BoardSimulator::setFault(SimFault fault, int replies)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_fault = replies == 0 ? SimFault::None : fault;
    m_faultReplies = replies;
}

QList<QByteArray> BoardSimulator::frames() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_frames;
}

int BoardSimulator::frameCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_frames.size());
}

bool BoardSimulator::waitForFrames(int count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_answered.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [&] { return m_answeredCount >= count; });
}

void BoardSimulator::run()
{
    const int frameLength = m_board->frameLength();
    const int baudRate = m_board->baudRate();
    QByteArray pending;
    qint64 lastByteMs = 0;
    // When the last byte received so far has fully crossed the line; bytes
    // written faster than the line carries them queue up behind each other.
    Clock::time_point lineFreeAt;
    while (!m_stop) {
        const QByteArray bytes = m_pty.read(10);
        const Clock::time_point readAt = Clock::now();
        const qint64 realMs = m_clock.elapsed();
        if (bytes.isEmpty()) {
            if (!pending.isEmpty() && realMs - lastByteMs >= resyncIdleMs)
                pending.clear();
            continue;
        }
        if (realMs - lastByteMs >= resyncIdleMs)
            pending.clear();
        lastByteMs = realMs;
        const Clock::time_point crossingFrom = std::max(lineFreeAt, readAt);
        lineFreeAt = crossingFrom + lineTime(int(bytes.size()), baudRate);
        // Less than a frame was pending before, so every frame completed now
        // ends within these bytes.
        const qsizetype readFrom = pending.size();
        pending += bytes;
        qsizetype cut = 0;
        while (pending.size() - cut >= frameLength) {
            cut += frameLength;
            serve(pending.mid(cut - frameLength, frameLength),
                  crossingFrom + lineTime(int(cut - readFrom), baudRate));
        }
        pending.remove(0, cut);
    }
}

void BoardSimulator::serve(const QByteArray &frame, Clock::time_point arrivedAt)
{
    std::this_thread::sleep_until(arrivedAt);
    QList<QByteArray> bursts;
    LineDelivery delivery;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_frames << frame;
        const SimFault fault = m_fault;
        if (m_faultReplies > 0 && --m_faultReplies == 0)
            m_fault = SimFault::None;

        QByteArray reply;
        if (simFaultExecutesFrame(fault))
            reply = m_board->handleFrame(frame, nowMsLocked());
        else if (fault == SimFault::Rejected)
            reply = m_board->refusal(frame);
        // A split reply sends its first half (rounded up), then the rest
        // splitPauseMs after the first half has left the board.
        bursts = shapeReply(reply, fault, int(reply.size() + 1) / 2, m_random);
        delivery = m_delivery;
    }

    Clock::time_point burstFrom = arrivedAt;
    for (const QByteArray &burst : bursts) {
        for (const LinePiece &piece : scheduleReply(burst, delivery)) {
            std::this_thread::sleep_until(burstFrom + piece.offset);
            m_pty.write(piece.bytes);
        }
        // The board pauses from the end of one burst on its line to the start
        // of the next, which it sends without reacting anew.
        burstFrom += delivery.reaction + lineTime(int(burst.size()), delivery.baudRate)
                     + std::chrono::milliseconds(splitPauseMs);
        delivery.reaction = {};
    }

    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_answeredCount;
    }
    m_answered.notify_all();
}
