#include "boardsimulator.h"

#include <chrono>

BoardSimulator::BoardSimulator(std::unique_ptr<BoardModel> board)
    : m_board(std::move(board))
{
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
    QByteArray pending;
    qint64 lastByteMs = 0;
    while (!m_stop) {
        const QByteArray bytes = m_pty.read(10);
        const qint64 realMs = m_clock.elapsed();
        if (bytes.isEmpty()) {
            if (!pending.isEmpty() && realMs - lastByteMs >= resyncIdleMs)
                pending.clear();
            continue;
        }
        if (realMs - lastByteMs >= resyncIdleMs)
            pending.clear();
        lastByteMs = realMs;
        pending += bytes;
        while (pending.size() >= frameLength) {
            const QByteArray frame = pending.left(frameLength);
            pending.remove(0, frameLength);
            serve(frame);
        }
    }
}

void BoardSimulator::serve(const QByteArray &frame)
{
    QList<QByteArray> bursts;
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
        // A split reply sends its first half (rounded up) at once, the rest
        // after splitPauseMs.
        bursts = shapeReply(reply, fault, int(reply.size() + 1) / 2, m_random);
    }

    for (int i = 0; i < bursts.size(); ++i) {
        if (i > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(splitPauseMs));
        m_pty.write(bursts.at(i));
    }

    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_answeredCount;
    }
    m_answered.notify_all();
}
