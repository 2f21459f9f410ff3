#include "boardsimulator.h"

#include <algorithm>

BoardSimulator::BoardSimulator(std::unique_ptr<BoardModel> board)
    : m_board(std::move(board))
{
    m_delivery.baudRate = m_board->baudRate();
    m_clock.start();
    std::lock_guard<std::mutex> line(m_lineMutex);
    plugIn();
}

BoardSimulator::~BoardSimulator()
{
    std::lock_guard<std::mutex> line(m_lineMutex);
    pullOut();
}

bool BoardSimulator::isOpen() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_pty && m_pty->isOpen();
}

QString BoardSimulator::errorString() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_pty ? m_pty->errorString() : QStringLiteral("The line is disconnected");
}

QString BoardSimulator::portName() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_pty ? m_pty->slavePath() : QString();
}

bool BoardSimulator::linkAs(const QString &path)
{
    std::lock_guard<std::mutex> line(m_lineMutex);
    auto link = std::make_unique<DeviceLink>(path);
    if (!link->pointTo(portName()))
        return false;
    m_link = std::move(link);
    return true;
}

void BoardSimulator::disconnectLine()
{
    std::lock_guard<std::mutex> line(m_lineMutex);
    pullOut();
}

bool BoardSimulator::reconnectLine()
{
    std::lock_guard<std::mutex> line(m_lineMutex);
    if (!m_pty)
        plugIn();
    return isOpen();
}

void BoardSimulator::plugIn()
{
    auto pty = std::make_unique<PseudoTerminal>();
    PseudoTerminal *line = pty.get();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pty = std::move(pty);
        m_stop = false;
    }
    if (!line->isOpen())
        return;
    if (m_link)
        m_link->pointTo(line->slavePath());
    m_thread = std::thread([this, line] { run(*line); });
}

void BoardSimulator::pullOut()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_pulled.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    std::unique_ptr<PseudoTerminal> pulled;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        pulled = std::move(m_pty);
    }
}

void BoardSimulator::restart(std::unique_ptr<BoardModel> board, int silenceMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_board = std::move(board);
    m_delivery.baudRate = m_board->baudRate();
    m_silentUntil = Clock::now() + std::chrono::milliseconds(silenceMs);
}

bool BoardSimulator::sleepUntil(Clock::time_point until)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return !m_pulled.wait_until(lock, until, [this] { return m_stop.load(); });
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

void BoardSimulator::setLateReplyDelay(int ms)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lateReply = std::chrono::milliseconds(qMax(0, ms));
}

void BoardSimulator::setTrace(std::function<void(const QString &)> trace)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_trace = std::move(trace);
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

void BoardSimulator::run(PseudoTerminal &line)
{
    int frameLength = 0;
    int baudRate = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        frameLength = m_board->frameLength();
        baudRate = m_board->baudRate();
    }
    QByteArray pending;
    qint64 lastByteMs = 0;
    // When the last byte received so far has fully crossed the line; bytes
    // written faster than the line carries them queue up behind each other.
    Clock::time_point lineFreeAt;
    while (!m_stop) {
        const QByteArray bytes = line.read(10);
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
            serve(line, pending.mid(cut - frameLength, frameLength),
                  crossingFrom + lineTime(int(cut - readFrom), baudRate));
        }
        pending.remove(0, cut);
    }
}

void BoardSimulator::serve(PseudoTerminal &line, const QByteArray &frame, Clock::time_point arrivedAt)
{
    if (!sleepUntil(arrivedAt))
        return;
    bool pulled = false;
    QList<QByteArray> bursts;
    LineDelivery delivery;
    QString traceLine;
    std::function<void(const QString &)> trace;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_frames << frame;
        // A booting board hears nothing; the fault waits for a board that does.
        const bool booting = arrivedAt < m_silentUntil;
        const SimFault fault = booting ? SimFault::NoReply : m_fault;
        if (!booting && m_faultReplies > 0 && --m_faultReplies == 0)
            m_fault = SimFault::None;

        QByteArray reply;
        if (simFaultExecutesFrame(fault)) {
            reply = m_board->handleFrame(frame, nowMsLocked());
            trace = m_trace;
            if (trace)
                traceLine = QStringLiteral("%1: %2").arg(QLatin1String(frame.toHex()), m_board->motorsText(nowMsLocked()));
        }
        else if (fault == SimFault::Rejected)
            reply = m_board->refusal(frame);
        // A split reply sends its first half (rounded up), then the rest
        // splitPauseMs after the first half has left the board.
        bursts = shapeReply(reply, fault, int(reply.size() + 1) / 2, m_random);
        delivery = m_delivery;
        if (fault == SimFault::LateReply)
            delivery.reaction += m_lateReply;
    }

    if (trace)
        trace(traceLine);
    Clock::time_point burstFrom = arrivedAt;
    for (const QByteArray &burst : bursts) {
        for (const LinePiece &piece : scheduleReply(burst, delivery)) {
            pulled = pulled || !sleepUntil(burstFrom + piece.offset);
            if (pulled)
                break;
            line.write(piece.bytes);
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
