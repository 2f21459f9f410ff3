#ifndef BOARDSIMULATOR_H
#define BOARDSIMULATOR_H

#include "boardmodel.h"
#include "devicelink.h"
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
#include <functional>
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
// hands it over (see LineDelivery). The line can be pulled and plugged again
// (a new device each time, which a link can keep under one name), and the board
// restarted. Everything public is safe to call from any thread.
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
    // How late a LateReply comes by default, in real time: later than either
    // driver waits for a reply.
    static constexpr int defaultLateReplyMs = 6000;

    explicit BoardSimulator(std::unique_ptr<BoardModel> board);
    ~BoardSimulator();
    BoardSimulator(const BoardSimulator &) = delete;
    BoardSimulator &operator=(const BoardSimulator &) = delete;

    // Whether the line is there: false when no pseudo-terminal could be had,
    // and while the line is disconnected.
    bool isOpen() const;
    QString errorString() const;
    // The device path to open, such as /dev/pts/4; it changes with every
    // reconnectLine(). Empty while the line is disconnected.
    QString portName() const;

    // Makes path a symbolic link to the device, re-pointed by reconnectLine()
    // and removed with the simulator; false when it cannot be made (the path
    // holds something that is not a link, say).
    bool linkAs(const QString &path);
    // Pulls the line: the device is closed and goes away, a link to it dangles,
    // and a reply being sent is cut off. Does nothing when disconnected.
    void disconnectLine();
    // Plugs the line in again: a new device, to which the link (if any) now
    // points. True when the line is there.
    bool reconnectLine();

    // The board restarts: board (of the same kind) takes the place of the one
    // that ran, as it is after power-on, and for silenceMs of real time while it boots, frames get
    // no reply and are not acted on.
    void restart(std::unique_ptr<BoardModel> board, int silenceMs);

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
    // How late a LateReply comes, in real milliseconds.
    void setLateReplyDelay(int ms);

    // Called, on the simulator's thread, with a line for every frame the board
    // acts on: the frame in hex and where the motors and lens parts are then.
    void setTrace(std::function<void(const QString &)> trace);

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

    // Open a new line and serve it / stop serving and close it; under m_lineMutex.
    void plugIn();
    void pullOut();
    void run(PseudoTerminal &line);
    // Answers frame, which has fully crossed the line at arrivedAt.
    void serve(PseudoTerminal &line, const QByteArray &frame, Clock::time_point arrivedAt);
    // False when the line is pulled before then.
    bool sleepUntil(Clock::time_point until);
    qint64 nowMsLocked() const;

    // Held by whoever plugs, pulls or links the line, so only one does at once.
    std::mutex m_lineMutex;
    // The line, replaced only while no thread serves it; m_mutex guards the
    // pointer for the accessors.
    std::unique_ptr<PseudoTerminal> m_pty;
    std::unique_ptr<DeviceLink> m_link;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_answered;
    // Wakes the serving thread's pauses when the line is pulled.
    std::condition_variable m_pulled;
    std::unique_ptr<BoardModel> m_board;
    Clock::time_point m_silentUntil;
    std::chrono::milliseconds m_lateReply{defaultLateReplyMs};
    QElapsedTimer m_clock;
    double m_timeScale = 1.0;
    qint64 m_scaleSinceRealMs = 0;
    qint64 m_scaleSinceSimMs = 0;
    LineDelivery m_delivery;
    std::function<void(const QString &)> m_trace;
    SimFault m_fault = SimFault::None;
    int m_faultReplies = untilCleared;
    QRandomGenerator m_random{0x7A17u};
    QList<QByteArray> m_frames;
    int m_answeredCount = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

#endif // BOARDSIMULATOR_H
