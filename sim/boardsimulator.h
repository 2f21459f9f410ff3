#ifndef BOARDSIMULATOR_H
#define BOARDSIMULATOR_H

#include "boardmodel.h"
#include "linedelivery.h"
#include "pseudoterminal.h"
#include "simfault.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QRandomGenerator>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

// Serves one board model on a pseudo-terminal from a thread of its own, so a
// program (or a test's blocking serial port on its own thread) can open
// portName() and talk to the board. Frames are assembled at the board's frame
// length; bytes followed by a quiet line are dropped as a broken frame, so the
// simulator finds the frame boundary again after garbage. The line runs at the
// board's baud rate both ways: a frame is acted on once all of it could have
// crossed the line, and its reply reaches the program as a USB serial adapter
// hands it over (see LineDelivery). Everything public is safe to call from any
// thread.
class BoardSimulator
{
public:
    // For setFault: the fault stays until clearFault().
    static constexpr int untilCleared = -1;
    // A partial frame is dropped after the line has been quiet this long.
    static constexpr int resyncIdleMs = 60;
    // The pause between the two bursts of a split reply, in real time.
    static constexpr int splitPauseMs = 300;
    // Keeps the board's clock well within range over any run.
    static constexpr double maximumTimeScale = 1e6;

    explicit BoardSimulator(std::unique_ptr<BoardModel> board);
    ~BoardSimulator();
    BoardSimulator(const BoardSimulator &) = delete;
    BoardSimulator &operator=(const BoardSimulator &) = delete;

    bool isOpen() const { return m_pty.isOpen(); }
    QString errorString() const { return m_pty.errorString(); }
    // The device path to open, such as /dev/pts/4.
    QString portName() const { return m_pty.slavePath(); }

    // Simulated time runs factor times faster than real time from now on, so
    // motion and calibration finish sooner (at most maximumTimeScale; zero or
    // less means real time).
    void setTimeScale(double factor);
    // The board's clock, in simulated milliseconds since the simulator started.
    qint64 nowMs() const;

    // Replies from now on reach the program under delivery, at the board's own
    // baud rate whatever delivery.baudRate says.
    void setLineDelivery(const LineDelivery &delivery);

    // The next `replies` frames are answered under fault (untilCleared: every
    // frame until clearFault()).
    void setFault(SimFault fault, int replies = untilCleared);
    void clearFault() { setFault(SimFault::None); }

    // Every complete frame received so far, in order, answered or not.
    QList<QByteArray> frames() const;
    int frameCount() const;
    // Waits until count frames have arrived and been answered.
    bool waitForFrames(int count, int timeoutMs) const;

    // Runs f(board, nowMs) under the board's lock, with the board as its
    // concrete type; the way for tests to read (or arrange) the board's state.
    template<typename Board, typename Function>
    auto withBoard(Function &&f)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return f(dynamic_cast<Board &>(*m_board), nowMsLocked());
    }

private:
    using Clock = std::chrono::steady_clock;

    void run();
    // Answers frame, which has fully crossed the line at arrivedAt.
    void serve(const QByteArray &frame, Clock::time_point arrivedAt);
    qint64 nowMsLocked() const;

    PseudoTerminal m_pty;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_answered;
    std::unique_ptr<BoardModel> m_board;
    QElapsedTimer m_clock;
    double m_timeScale = 1.0;
    qint64 m_scaleSinceRealMs = 0;
    qint64 m_scaleSinceSimMs = 0;
    LineDelivery m_delivery;
    SimFault m_fault = SimFault::None;
    int m_faultReplies = untilCleared;
    QRandomGenerator m_random{0x7A17u};
    QList<QByteArray> m_frames;
    int m_answeredCount = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

#endif // BOARDSIMULATOR_H
