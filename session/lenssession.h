#ifndef LENSSESSION_H
#define LENSSESSION_H

#include "boardtype.h"
#include "motionplan.h"
#include "presetrecords.h"
#include "sessiondriver.h"
#include "sessionrequest.h"
#include "sessionresult.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class Controller;
class LensProfile;
class QThread;
struct LensMotor;

// The lens as every front end drives it: the window, the tool and the
// server hand their requests to one session, which works them off one at a
// time through one driver, by one set of rules:
// - a stop goes ahead of the moves still waiting;
// - a newer goto, step or run of a motor takes the place of one still
//   waiting (newest wins), and a stop takes away the waiting moves of its
//   motor;
// - the repeat of a run under way needs no frame;
// - a run is held by its holder (a key, a stick) until that lets go, or by a
//   deadline that each repeat moves on, or else runs until its stop; when
//   the hold ends the motor is stopped and read back, and a release is never
//   dropped, whatever is under way;
// - shutdown stops every motor running before it ends;
// - with a lens profile, no goto, step or run goes beyond the lens's soft
//   limits, and every goto comes to its target from beneath, taking up the
//   backlash;
// - a timed goto or preset call takes every motor it moves along an eased
//   course, steered by the speed levels as the reads find the motors, so
//   that they arrive together; a newer word on a motor ends its course;
// - while the focus follows the zoom, every zoom move sends the focus ahead
//   to where the distance held stays sharp, and a focus move by anyone sets
//   the distance held anew.
// While a motor runs, or moves to a position it was sent to, its position is
// read liveReadMs apart and every change is published, between the requests
// and never ahead of one.
//
// The driver lives on a thread of its own, so the thread that owns the
// session never waits for the board; or, for a program that has nothing
// else to do, on the session's own thread.
class LensSession : public QObject
{
    Q_OBJECT

public:
    enum class Threading { OwnThread, CallersThread };
    using DriverFactory = std::function<std::unique_ptr<Controller>(BoardType board, const QString &port)>;
    using Done = std::function<void(const SessionResult &result)>;

    // How often a moving motor's position is read.
    static constexpr int liveReadMs = 125;

    // The driver comes from factory, made on the thread it will work on.
    LensSession(BoardType board, const QString &port, Threading threading, const DriverFactory &factory,
                QObject *parent = nullptr);
    // With the real board's driver.
    LensSession(BoardType board, const QString &port, Threading threading = Threading::OwnThread,
                QObject *parent = nullptr);
    ~LensSession() override;

    BoardType board() const { return m_board; }
    QString portName() const { return m_port; }

    // Queues request; done hears how it went once it has been carried out,
    // or at once for what needs no exchange. Never called inside submit().
    void submit(const SessionRequest &request, const Done &done = {});
    // Queues work of the caller's own on the driver, in its turn among the
    // requests; done hears how it went.
    void submitWork(const SessionDriver::Work &work, const Done &done = {});
    // Carries request out now, on this thread, and tells how it went: for a
    // program that does one thing after another (CallersThread only); what
    // the session queued of its own goes first.
    SessionResult runNow(const SessionRequest &request);
    // The same for work of the caller's own.
    SessionResult runWorkNow(const SessionDriver::Work &work);
    // The holder lets go: the run it holds on motor, waiting, under way or
    // running, ends as by a stop.
    void release(const LensMotor &motor, const void *holder);
    // Ends every run holder holds; with no holder, every held run.
    void releaseAll(const void *holder = nullptr);
    // Stops every motor running, answers what still waits with Stopping, and
    // then emits finished().
    void shutdown();
    // Nothing waiting or under way, and no timer running.
    bool isIdle() const;
    // Requests waiting or under way.
    bool isWorking() const { return m_current || !m_queue.empty(); }
    // Whether moving motors are read while they move; on at first. A motor
    // on its way beneath a target, to take up the backlash, is read anyway.
    void setLiveReads(bool on);
    // The lens's profile, whose limits and backlash every move from now on
    // keeps to; null for none.
    void setProfile(std::shared_ptr<const LensProfile> profile);
    const LensProfile *profile() const { return m_profile.get(); }
    // Whether profile has the measured speeds a timed request needs: of its
    // motor, or of every motor of board for a preset call.
    static bool hasSpeedsFor(const LensProfile *profile, BoardType board, const SessionRequest &request);
    // Keeps the focus on the distance it is at while the zoom moves; refused
    // (NoFocusCurve) without a profile that has a focus curve.
    SessionResult setTracking(bool on);
    bool isTracking() const { return m_tracking; }

    // As last read; nothing when not read yet or for a motor the board lacks.
    std::optional<int> position(const LensMotor &motor) const;
    std::optional<int> maximum(const LensMotor &motor) const;
    bool isRunning(const LensMotor &motor) const;
    // Where the goto the session last sent motor takes it, while it is on its
    // way there; nothing while it runs, stands, or was sent to a preset.
    std::optional<int> heading(const LensMotor &motor) const;
    // What holds motor's run, a run still waiting or under way among them:
    // null when none does, or the motor stands or is to stop.
    const void *holder(const LensMotor &motor) const;

signals:
    // Motors by their place in LensMotor::all().
    void positionChanged(int motor, int position);
    // What each live read of a moving motor found, changed or not.
    void liveRead(int motor, int position);
    void maximumChanged(int motor, int maximum);
    void trackingChanged(bool on);
    void runningChanged(int motor, bool running);
    // A request the board did not carry out; live reads fail quietly.
    void failed(const SessionResult &result);
    void finished();

private:
    struct Job
    {
        SessionRequest request;
        bool quiet = false;
        QList<Done> waiting;
        SessionDriver::Work work = {};
        // The last leg of a goto that took up the backlash, a leg of a course
        // or a follower's goto: gone to straight.
        bool finalLeg = false;
        // A timed or followed move: the positions are read afresh, and the
        // session plans the motors' gotos from them.
        bool plan = false;
        // The last leg of a goto that took up the backlash.
        bool approachEnd = false;
    };
    // A motor on its way along a timed move's eased course.
    struct Course
    {
        MotionPlan::Leg leg;
        int from = 0;
        // Where the course ends: beneath the target, when it takes up the
        // backlash after.
        int to = 0;
        std::vector<double> speeds;
        // The level last sent; -1 before the motor set off.
        int level = -1;
        // The board took the course's goto: the reads steer it from then on.
        bool underWay = false;
    };
    struct Motion
    {
        bool running = false;
        int direction = 0;
        int speed = -1;
        // Held by a deadline: how long each repeat holds it on.
        int holdMs = 0;
        const void *holder = nullptr;
        // Moving to a position it was sent to: read until it stands.
        bool settling = false;
        int unchangedReads = 0;
        std::optional<int> position;
        std::optional<int> maximum;
        // Sent beneath a target to take up the backlash: the goto still to
        // make once the motor is there.
        std::optional<SessionRequest> approach;
        int approachVia = 0;
        // On the last leg of an approach: read until it stands, so that what
        // was read beneath the target is not the last word.
        bool finishing = false;
        // When the position was last read, by the session's clock, and the
        // speed the last two reads give.
        qint64 readAtMs = -1;
        double velocity = 0;
        // Where the motor's last goto takes it.
        std::optional<int> target;
    };

    // The motors a focus that follows the zoom concerns.
    static constexpr int zoom = 0;
    static constexpr int focus = 1;
    // How a timed or followed move is carried out.
    enum class Planning { None, Plan, Refused, BoardsOwn };
    Planning planning(const SessionRequest &request) const;
    bool isRepeat(const SessionRequest &request) const;
    // The run of motor the driver is carrying out, if it is one.
    const SessionRequest *runUnderWay(const LensMotor &motor) const;
    // What the session queued of its own, carried out now (CallersThread).
    void runQueued();
    // Carries job out on this thread as the current job (CallersThread only).
    SessionDriver::Done executeNow(const Job &job);
    void enqueue(Job job);
    void schedule();
    void pump();
    SessionDriver::Job driverJob(const Job &job) const;
    void finish(const Job &job, SessionDriver::Done done);
    void apply(const Job &job, SessionDriver::Done &done);
    // Turns a timed or followed move into its gotos, from the positions just
    // read; done's result says what became of it.
    void plan(const Job &job, SessionDriver::Done &done);
    void startCourse(int motor);
    void startDueCourses();
    // Picks the speed level that keeps each coursed motor on its course.
    void steerCourses(const SessionDriver::Done &done);
    // The course of motor ends: its speed level goes back to the one set.
    void endCourse(int motor);
    void enqueueSpeed(int motor, int level);
    void enqueueGoto(int motor, int position, bool straight);
    // Sends the focus where the distance held stays sharp as the zoom moves.
    void follow(const SessionDriver::Done &done);
    void holdFocusDistance();
    // position, within the focus's range and soft limits.
    int focusWithin(int position) const;
    bool isMoving(int motor) const;
    void setPosition(int motor, int position);
    void setMaximum(int motor, int maximum);
    void setRunning(int motor, bool running);
    void updateLiveReads();
    void readMoving();
    void holdExpired(int motor);
    void queueStop(int motor);
    // Sends on the motors that have come beneath their targets.
    void continueApproaches(const Job &job, const SessionDriver::Done &done);
    // The front ends' word on motor supersedes its approach; null: every motor's.
    void dropApproach(const LensMotor *motor);
    // Something the session must see through without being asked: an
    // approach, a course, or a focus that follows a moving zoom.
    bool hasMovesToSee() const;

    BoardType m_board;
    QString m_port;
    // Null while the session works on its own thread.
    QThread *m_thread = nullptr;
    // Lives on m_thread: the context the driver's jobs run in.
    QObject *m_worker = nullptr;
    std::unique_ptr<SessionDriver> m_driver;
    std::array<Motion, 3> m_motion;
    std::array<QTimer, 3> m_holds;
    QTimer m_liveReads;
    std::deque<Job> m_queue;
    // The job the driver is carrying out.
    std::optional<Job> m_current;
    bool m_pumpScheduled = false;
    bool m_stopping = false;
    bool m_liveReadsOn = true;
    std::shared_ptr<const LensProfile> m_profile;
    PresetRecords m_presets;
    QElapsedTimer m_clock;
    std::array<std::optional<Course>, 3> m_courses;
    // When the timed move under way began, by m_clock.
    qint64 m_courseStartMs = 0;
    // The speed level each motor was last set to by a front end; -1 unknown.
    std::array<int, 3> m_levels{-1, -1, -1};
    bool m_tracking = false;
    // The focus distance held while the zoom moves, in metres.
    std::optional<double> m_heldDistance;
    // The focus's latest move is the follower's, so it leaves the distance
    // held as it was.
    bool m_following = false;
    // A front end moved the focus: the distance is held anew once it stands.
    bool m_distanceStale = false;
    // The zoom was moving at the last follow: the focus still has its last
    // leg to make.
    bool m_zoomFollowed = false;
    int m_lastFollow = -1;
    // A followed preset call ends on the preset's own focus.
    std::optional<int> m_followEnd;
};

#endif // LENSSESSION_H
