#ifndef LENSSERVICE_H
#define LENSSERVICE_H

#include "lensmotor.h"
#include "operatorreport.h"
#include "remoterequest.h"
#include "keepalive.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

// The lens as remote clients share it: their requests are worked off one at a
// time on this thread, in arrival order, through one driver. The drivers block
// while they exchange frames; meanwhile the event loop goes on through the
// keep-alive, and requests that arrive then are only queued, so the driver is
// never entered twice. A stop goes ahead of the queued moves, a newer goto or
// run of a motor takes the place of one still queued, and the repeat of a
// held run is answered without any exchange at all.
//
// A run is held for its hold time: when no repeat comes in time, the motor is
// stopped and read back as by a stop (a client that dies cannot leave a motor
// running). While a motor runs, or moves to a position it was sent to, its
// position is read several times a second and every change is told.
class LensService : public QObject
{
    Q_OBJECT

public:
    struct Reply
    {
        // 200 with the status after the action, or an error's code.
        int status;
        QJsonObject body;
    };
    using Done = std::function<void(const Reply &reply)>;

    // How often a moving motor's position is read.
    static constexpr int liveReadMs = 150;

    LensService(BoardType board, std::unique_ptr<Controller> driver, QObject *parent = nullptr);
    ~LensService() override;

    // Reads the positions and maxima, after calibrating the board first when
    // asked. Nothing moves otherwise.
    void start(bool calibrate);
    // Queues request; done hears its answer once it has been carried out (or
    // at once, for what needs no exchange).
    void submit(const RemoteRequest &request, const Done &done = {});
    // Board, port, positions and maxima as last known (null when unknown or
    // for motors the board lacks), and the motors running now.
    QJsonObject status() const;
    // Stops every motor this service started, then emits finished(). Requests
    // still queued are answered with an error.
    void shutdown();
    // Whether there is nothing queued or under way and no timer runs.
    bool isIdle() const;

signals:
    // Only the keys whose values changed, such as {"zoom": 3012} or
    // {"running": ["zoom"]}.
    void changed(const QJsonObject &delta);
    // A request the board did not carry out, in words.
    void failed(const QString &error);
    void finished();

private:
    enum class JobKind { Request, Start, Read };
    struct Job
    {
        JobKind kind;
        RemoteRequest request;
        QList<Done> waiting;
    };
    struct Motion
    {
        bool running = false;
        int direction = 0;
        int speed = -1;
        // Moving to a position it was sent to: read until it stands.
        bool settling = false;
        int unchangedReads = 0;
        std::optional<int> position;
        std::optional<int> maximum;
    };

    static int indexOf(const LensMotor *motor);
    void enqueue(Job job);
    void schedule();
    void pump();
    // Carries out the job; returns the error (code and text), or nothing.
    std::optional<Reply> execute(const Job &job);
    std::optional<Reply> goTo(const RemoteRequest &request);
    std::optional<Reply> run(const RemoteRequest &request);
    std::optional<Reply> stop(const LensMotor &motor);
    // Reads every position and maximum; the error, or nothing.
    std::optional<Reply> readAll();
    void readPosition(const LensMotor &motor);
    std::optional<Reply> boardError(int failuresBefore, const QString &fallback);
    void setPosition(int index, int position);
    void setMaximum(int index, int maximum);
    void setRunning(int index, bool running);
    void settleAll();
    void updateLiveReads();
    void readMoving();
    void holdExpired(int index);
    QJsonArray runningNames() const;

    BoardType m_board;
    std::unique_ptr<Controller> m_driver;
    std::array<Motion, 3> m_motion;
    std::array<QTimer, 3> m_holds;
    QTimer m_liveReads;
    std::deque<Job> m_queue;
    bool m_busy = false;
    bool m_pumpScheduled = false;
    bool m_stopping = false;
    // The request being carried out.
    std::optional<RemoteRequest> m_current;
    // The first operator report of the job under way, as the tool says it.
    QString m_report;
    OperatorReport::Reporter m_previousReporter;
    KeepAlive::Function m_previousKeepAlive;
};

#endif // LENSSERVICE_H
