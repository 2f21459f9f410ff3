#include "lenssession.h"

#include "controller.h"
#include "lensboard.h"
#include "lensmotor.h"
#include "lensprofile.h"

#include <QThread>

#include <algorithm>
#include <cmath>

namespace {

bool isMove(const SessionRequest &request)
{
    return request.kind == SessionRequest::Kind::Goto || request.kind == SessionRequest::Kind::Step
        || request.kind == SessionRequest::Kind::Run;
}

bool isStop(const SessionRequest &request)
{
    return request.kind == SessionRequest::Kind::Stop;
}

SessionResult stopping()
{
    SessionResult result;
    result.kind = SessionResult::Kind::Stopping;
    return result;
}

} // namespace

LensSession::LensSession(BoardType board, const QString &port, Threading threading, const DriverFactory &factory,
                         QObject *parent)
    : QObject(parent)
    , m_board(board)
    , m_port(port)
    , m_presets(board, port)
{
    m_clock.start();
    for (int i = 0; i < int(m_holds.size()); ++i) {
        m_holds[i].setSingleShot(true);
        connect(&m_holds[i], &QTimer::timeout, this, [this, i] { holdExpired(i); });
    }
    m_liveReads.setInterval(liveReadMs);
    connect(&m_liveReads, &QTimer::timeout, this, &LensSession::readMoving);
    if (threading == Threading::CallersThread) {
        m_driver = std::make_unique<SessionDriver>(board, factory(board, port));
        return;
    }
    m_thread = new QThread(this);
    m_thread->setObjectName(QStringLiteral("lens driver"));
    m_worker = new QObject;
    m_worker->moveToThread(m_thread);
    m_thread->start();
    // Made where it works, so that what it owns (the Pellan driver's preset
    // store) writes back on that thread too.
    QMetaObject::invokeMethod(m_worker, [this, board, port, factory] {
        m_driver = std::make_unique<SessionDriver>(board, factory(board, port));
    }, Qt::QueuedConnection);
}

LensSession::LensSession(BoardType board, const QString &port, Threading threading, QObject *parent)
    : LensSession(board, port, threading, LensBoard::makeDriver, parent)
{
}

LensSession::~LensSession()
{
    if (!m_thread)
        return;
    // After the job under way, on the thread the driver was made on.
    QMetaObject::invokeMethod(m_worker, [this] { m_driver.reset(); }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_worker;
}

void LensSession::submit(const SessionRequest &request, const Done &done)
{
    QList<Done> waiting;
    if (done)
        waiting << done;
    const auto answerNow = [this, waiting](const SessionResult &result) {
        for (const Done &answer : waiting)
            QMetaObject::invokeMethod(this, [answer, result] { answer(result); }, Qt::QueuedConnection);
    };
    if (m_stopping) {
        answerNow(stopping());
        return;
    }
    if (request.kind == SessionRequest::Kind::Status) {
        answerNow({});
        return;
    }
    // A newer word on a motor, or a board that moves them all itself, ends
    // the approach under way.
    if (isMove(request) || isStop(request)) {
        dropApproach(request.motor);
        if (request.motor->index() == focus) {
            m_following = false;
            m_distanceStale = true;
        }
    } else if (request.kind == SessionRequest::Kind::PresetCall || request.kind == SessionRequest::Kind::Calibrate) {
        dropApproach(nullptr);
        m_followEnd.reset();
    }
    if (request.kind == SessionRequest::Kind::Speed && request.motor)
        m_levels[size_t(request.motor->index())] = request.speed;
    switch (planning(request)) {
    case Planning::None:
        break;
    case Planning::Refused: {
        SessionResult refusal;
        refusal.kind = SessionResult::Kind::Unmeasured;
        answerNow(refusal);
        return;
    }
    case Planning::Plan: {
        Job job{request, false, waiting, {}};
        job.plan = true;
        enqueue(std::move(job));
        return;
    }
    case Planning::BoardsOwn: {
        // Where the board's own preset lies is not known here: the board
        // recalls it its own way, and the answer says so.
        QList<Done> told;
        for (const Done &answer : waiting)
            told << [answer](const SessionResult &result) {
                SessionResult boardsOwn = result;
                boardsOwn.boardsOwn = true;
                answer(boardsOwn);
            };
        SessionRequest call = request;
        call.seconds = 0;
        enqueue({call, false, told, {}});
        return;
    }
    }
    if (isRepeat(request)) {
        // The repeat of the run under way holds it on, with nothing sent.
        const int index = request.motor->index();
        if (request.holdMs > 0)
            m_holds[index].start(request.holdMs);
        answerNow({});
        return;
    }
    enqueue({request, false, waiting, {}});
}

void LensSession::submitWork(const SessionDriver::Work &work, const Done &done)
{
    Job job{{}, false, {}, work};
    if (done)
        job.waiting << done;
    if (m_stopping) {
        QMetaObject::invokeMethod(this, [done] { if (done) done(stopping()); }, Qt::QueuedConnection);
        return;
    }
    enqueue(std::move(job));
}

bool LensSession::isRepeat(const SessionRequest &request) const
{
    if (request.kind != SessionRequest::Kind::Run)
        return false;
    const auto sameRun = [&request](int direction, int speed) {
        return direction == request.direction && (request.speed < 0 || request.speed == speed);
    };
    // A motor about to stop runs again only by a run of its own.
    const auto isItsStop = [&request](const Job &job) {
        return !job.quiet && isStop(job.request) && job.request.motor == request.motor;
    };
    if ((m_current && isItsStop(*m_current)) || std::any_of(m_queue.begin(), m_queue.end(), isItsStop))
        return false;
    // A repeat that comes while its run is being sent is a repeat too.
    if (const SessionRequest *sending = runUnderWay(*request.motor))
        return sameRun(sending->direction, sending->speed);
    const Motion &motion = m_motion[size_t(request.motor->index())];
    return motion.running && sameRun(motion.direction, motion.speed);
}

SessionResult LensSession::runNow(const SessionRequest &request)
{
    Q_ASSERT(!m_thread && !m_current);
    if (m_stopping)
        return stopping();
    // What the session queued of its own accord (the reads a distance to
    // hold starts from) goes first.
    runQueued();
    Job job{request, false, {}, {}};
    const Planning planned = planning(request);
    switch (planned) {
    case Planning::None:
        break;
    case Planning::Refused: {
        SessionResult refusal;
        refusal.kind = SessionResult::Kind::Unmeasured;
        return refusal;
    }
    case Planning::Plan:
        job.plan = true;
        break;
    case Planning::BoardsOwn:
        job.request.seconds = 0;
        break;
    }
    SessionDriver::Done done = executeNow(job);
    done.result.boardsOwn = planned == Planning::BoardsOwn;
    apply(job, done);
    // One thing after another: the last leg of a backlash approach too, once
    // the reads find the motor beneath its target.
    while (hasMovesToSee() || !m_queue.empty()) {
        if (m_queue.empty()) {
            QThread::msleep(liveReadMs);
            readMoving();
            continue;
        }
        const Job next = std::move(m_queue.front());
        m_queue.pop_front();
        SessionDriver::Done nextDone = executeNow(next);
        apply(next, nextDone);
        if (!nextDone.result.done())
            return nextDone.result;
    }
    return done.result;
}

SessionResult LensSession::runWorkNow(const SessionDriver::Work &work)
{
    Q_ASSERT(!m_thread && !m_current);
    if (m_stopping)
        return stopping();
    runQueued();
    const Job job{{}, false, {}, work};
    SessionDriver::Done done = executeNow(job);
    apply(job, done);
    return done.result;
}

void LensSession::runQueued()
{
    while (!m_queue.empty()) {
        const Job queued = std::move(m_queue.front());
        m_queue.pop_front();
        SessionDriver::Done queuedDone = executeNow(queued);
        apply(queued, queuedDone);
    }
}

SessionDriver::Done LensSession::executeNow(const Job &job)
{
    m_current = job;
    SessionDriver::Done done = m_driver->execute(driverJob(job));
    m_current.reset();
    return done;
}

void LensSession::enqueue(Job job)
{
    const SessionRequest &request = job.request;
    if (!job.quiet && (isMove(request) || isStop(request))) {
        // A move or stop still waiting for the same motor is overtaken: its
        // clients hear how the newer one went.
        for (auto it = m_queue.begin(); it != m_queue.end();) {
            const bool sameMotor = !it->quiet && it->request.motor == request.motor
                && (isMove(it->request) || isStop(it->request));
            if (!sameMotor) {
                ++it;
                continue;
            }
            job.waiting = it->waiting + job.waiting;
            if (!isStop(request) && !isStop(it->request)) {
                // Newest wins, in the place of the one it replaces.
                it->request = request;
                it->waiting = job.waiting;
                it->finalLeg = job.finalLeg;
                it->approachEnd = job.approachEnd;
                it->plan = job.plan;
                return;
            }
            it = m_queue.erase(it);
        }
        if (isStop(request)) {
            // The stop reads the motor back: a live read still waiting has
            // nothing left to tell.
            m_queue.erase(std::remove_if(m_queue.begin(), m_queue.end(),
                                         [&request](const Job &queued) {
                                             return queued.quiet && queued.request.motor == request.motor;
                                         }),
                          m_queue.end());
            m_holds[size_t(request.motor->index())].stop();
            // Behind the stops already waiting, ahead of everything else.
            const auto firstOther = std::find_if(m_queue.begin(), m_queue.end(), [](const Job &queued) {
                return queued.quiet || !isStop(queued.request);
            });
            m_queue.insert(firstOther, std::move(job));
            schedule();
            return;
        }
    }
    // Live reads wait behind every request.
    const auto firstRead = job.quiet ? m_queue.end()
                                     : std::find_if(m_queue.begin(), m_queue.end(),
                                                    [](const Job &queued) { return queued.quiet; });
    m_queue.insert(firstRead, std::move(job));
    schedule();
}

void LensSession::schedule()
{
    if (m_current || m_pumpScheduled || m_queue.empty())
        return;
    m_pumpScheduled = true;
    QMetaObject::invokeMethod(this, &LensSession::pump, Qt::QueuedConnection);
}

void LensSession::pump()
{
    m_pumpScheduled = false;
    if (m_current || m_queue.empty())
        return;
    m_current = std::move(m_queue.front());
    m_queue.pop_front();
    const SessionDriver::Job job = driverJob(*m_current);
    if (!m_thread) {
        finish(*m_current, m_driver->execute(job));
        return;
    }
    QMetaObject::invokeMethod(m_worker, [this, job] {
        const SessionDriver::Done done = m_driver->execute(job);
        QMetaObject::invokeMethod(this, [this, done] { finish(*m_current, done); }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
}

SessionDriver::Job LensSession::driverJob(const Job &job) const
{
    SessionDriver::Job driverJob{job.request, job.work, job.quiet, {}, {}, {}, 0};
    // A move to plan starts from where the motors are now.
    if (job.plan)
        driverJob.request.kind = SessionRequest::Kind::Refresh;
    driverJob.approachEnd = job.approachEnd;
    for (size_t i = 0; i < m_motion.size(); ++i) {
        driverJob.positions[i] = m_motion[i].position;
        driverJob.maxima[i] = m_motion[i].maximum;
    }
    if (m_profile && job.request.motor && !job.quiet) {
        const int index = job.request.motor->index();
        driverJob.limits = m_profile->data().limits[size_t(index)];
        driverJob.backlash = job.finalLeg ? 0 : m_profile->data().backlash[size_t(index)];
    }
    return driverJob;
}

void LensSession::finish(const Job &job, SessionDriver::Done done)
{
    const Job finished = job;
    m_current.reset();
    apply(finished, done);
    for (const Done &answer : finished.waiting)
        answer(done.result);
    updateLiveReads();
    schedule();
    if (m_stopping && !m_current && m_queue.empty())
        emit this->finished();
}

void LensSession::apply(const Job &job, SessionDriver::Done &done)
{
    const qint64 nowMs = m_clock.elapsed();
    for (int i = 0; i < int(m_motion.size()); ++i) {
        if (done.maxima[size_t(i)])
            setMaximum(i, *done.maxima[size_t(i)]);
        if (const std::optional<int> position = done.positions[size_t(i)]) {
            Motion &motion = m_motion[size_t(i)];
            motion.unchangedReads = motion.position == position ? motion.unchangedReads + 1 : 0;
            // A motor sent to a position stands once two reads in a row find
            // it where it was.
            if (motion.unchangedReads >= 2) {
                motion.settling = false;
                motion.finishing = false;
            }
            const qint64 sinceMs = nowMs - motion.readAtMs;
            if (motion.position && motion.readAtMs >= 0 && sinceMs > 0 && sinceMs < 1000)
                motion.velocity = (*position - *motion.position) * 1000.0 / double(sinceMs);
            else
                motion.velocity = 0;
            motion.readAtMs = nowMs;
            setPosition(i, *position);
            if (job.quiet)
                emit liveRead(i, *position);
        }
    }
    if (job.quiet || job.plan) {
        if (job.plan && done.result.done())
            plan(job, done);
        else
            steerCourses(done);
        continueApproaches(job, done);
        follow(done);
        return;
    }
    const SessionRequest &request = job.request;
    const int index = request.motor ? request.motor->index() : -1;
    switch (request.kind) {
    case SessionRequest::Kind::Run:
        if (done.taken) {
            Motion &motion = m_motion[size_t(index)];
            motion.direction = request.direction;
            motion.speed = request.speed;
            motion.holdMs = request.holdMs;
            motion.holder = request.holder;
            motion.settling = false;
            motion.target.reset();
            if (request.holdMs > 0)
                m_holds[size_t(index)].start(request.holdMs);
            setRunning(index, true);
        }
        break;
    case SessionRequest::Kind::Stop:
        if (done.taken) {
            m_holds[size_t(index)].stop();
            m_motion[size_t(index)].settling = false;
            setRunning(index, false);
        } else if (m_motion[size_t(index)].running && !m_stopping
                   && (m_motion[size_t(index)].holdMs > 0 || m_motion[size_t(index)].holder)) {
            // A held motor that may still run is stopped again after another
            // hold, until the board takes the stop.
            m_holds[size_t(index)].start(SessionRequest::defaultHoldMs);
        }
        break;
    case SessionRequest::Kind::Goto:
    case SessionRequest::Kind::Step:
        if (done.taken) {
            Motion &motion = m_motion[size_t(index)];
            // The move takes over from a run of the same motor.
            m_holds[size_t(index)].stop();
            setRunning(index, false);
            motion.settling = true;
            motion.unchangedReads = 0;
            if (done.positions[size_t(index)] && request.kind == SessionRequest::Kind::Step)
                motion.target = std::clamp(*done.positions[size_t(index)] + request.value, 0,
                                           motion.maximum.value_or(*done.positions[size_t(index)]));
            else if (request.kind == SessionRequest::Kind::Goto && request.share < 0)
                motion.target = done.approachTo ? *done.approachTo : request.value;
            motion.finishing = job.approachEnd;
            if (m_courses[size_t(index)] && job.finalLeg)
                m_courses[size_t(index)]->underWay = true;
            if (done.approachTo) {
                SessionRequest last = request;
                last.kind = SessionRequest::Kind::Goto;
                last.value = *done.approachTo;
                last.share = -1;
                motion.approach = last;
                motion.approachVia = done.approachVia;
            }
        }
        break;
    case SessionRequest::Kind::PresetCall:
        if (done.result.done()) {
            for (Motion &motion : m_motion) {
                motion.settling = true;
                motion.unchangedReads = 0;
                motion.target.reset();
            }
        }
        break;
    case SessionRequest::Kind::PresetStore:
        // Recorded only where every motor was read just now.
        if (done.result.done()
            && std::all_of(LensMotor::all().begin(), LensMotor::all().end(), [this, &done](const LensMotor &motor) {
                   return !motor.isOn(m_board) || done.positions[size_t(motor.index())];
               }))
            m_presets.record(request.value, done.positions);
        break;
    case SessionRequest::Kind::Calibrate:
        if (done.result.done()) {
            // Calibrated, the motors stand.
            for (int i = 0; i < int(m_motion.size()); ++i) {
                m_holds[size_t(i)].stop();
                setRunning(i, false);
            }
        }
        break;
    default:
        break;
    }
    if (done.result.kind == SessionResult::Kind::Failed)
        emit failed(done.result);
    steerCourses(done);
    continueApproaches(job, done);
    follow(done);
}

void LensSession::continueApproaches(const Job &job, const SessionDriver::Done &done)
{
    for (int i = 0; i < int(m_motion.size()); ++i) {
        Motion &motion = m_motion[size_t(i)];
        // Not on the goto's own read, which finds the motor where it set off.
        const bool setOff = !job.quiet && job.request.kind != SessionRequest::Kind::Status && job.request.motor
            && job.request.motor->index() == i;
        if (!motion.approach || setOff)
            continue;
        // A motor that cannot be read is not gone on with blindly.
        if (job.quiet && job.request.motor->index() == i && done.result.kind == SessionResult::Kind::Failed) {
            motion.approach.reset();
            continue;
        }
        if (!done.positions[size_t(i)])
            continue;
        // There, or standing short of it (an end stop): the last leg, from
        // beneath.
        if (*done.positions[size_t(i)] > motion.approachVia && motion.unchangedReads < 2)
            continue;
        const SessionRequest last = *std::exchange(motion.approach, std::nullopt);
        Job lastLeg{last, false, {}, {}};
        lastLeg.finalLeg = true;
        lastLeg.approachEnd = true;
        enqueue(std::move(lastLeg));
    }
}

void LensSession::dropApproach(const LensMotor *motor)
{
    for (int i = 0; i < int(m_motion.size()); ++i) {
        if (motor && motor->index() != i)
            continue;
        m_motion[size_t(i)].approach.reset();
        m_motion[size_t(i)].finishing = false;
        if (m_courses[size_t(i)])
            endCourse(i);
    }
}

bool LensSession::hasMovesToSee() const
{
    return std::any_of(m_motion.begin(), m_motion.end(),
                       [](const Motion &motion) { return motion.approach || motion.finishing; })
        || std::any_of(m_courses.begin(), m_courses.end(), [](const std::optional<Course> &course) { return bool(course); })
        || (m_tracking && (m_zoomFollowed || m_motion[zoom].settling));
}

bool LensSession::isMoving(int motor) const
{
    const Motion &motion = m_motion[size_t(motor)];
    return motion.running || motion.settling || motion.approach || m_courses[size_t(motor)];
}

void LensSession::setProfile(std::shared_ptr<const LensProfile> profile)
{
    m_profile = std::move(profile);
    if (m_tracking && !(m_profile && m_profile->hasTable(LensAxis::Focus))) {
        m_tracking = false;
        emit trackingChanged(false);
    }
}

void LensSession::release(const LensMotor &motor, const void *holder)
{
    if (!holder)
        return;
    const int index = motor.index();
    // A run that has not gone out yet simply does not.
    for (auto it = m_queue.begin(); it != m_queue.end(); ++it) {
        if (!it->quiet && it->request.kind == SessionRequest::Kind::Run && it->request.motor == &motor
            && it->request.holder == holder) {
            const QList<Done> waiting = it->waiting;
            m_queue.erase(it);
            for (const Done &answer : waiting)
                answer({});
            break;
        }
    }
    const SessionRequest *sending = runUnderWay(motor);
    const Motion &motion = m_motion[size_t(index)];
    if ((sending && sending->holder == holder) || (motion.running && motion.holder == holder))
        queueStop(index);
}

void LensSession::releaseAll(const void *holder)
{
    for (const LensMotor &motor : LensMotor::all()) {
        // Whatever holds a run of the motor: under way, running or waiting.
        QList<const void *> held;
        if (const SessionRequest *sending = runUnderWay(motor))
            held << sending->holder;
        const Motion &motion = m_motion[size_t(motor.index())];
        if (motion.running)
            held << motion.holder;
        for (const Job &queued : m_queue) {
            if (!queued.quiet && queued.request.kind == SessionRequest::Kind::Run && queued.request.motor == &motor)
                held << queued.request.holder;
        }
        for (const void *each : held) {
            if (each && (!holder || each == holder))
                release(motor, each);
        }
    }
}

const SessionRequest *LensSession::runUnderWay(const LensMotor &motor) const
{
    if (m_current && !m_current->quiet && m_current->request.kind == SessionRequest::Kind::Run
        && m_current->request.motor == &motor)
        return &m_current->request;
    return nullptr;
}

void LensSession::queueStop(int motor)
{
    SessionRequest request;
    request.kind = SessionRequest::Kind::Stop;
    request.motor = &LensMotor::all()[size_t(motor)];
    enqueue({request, false, {}, {}});
}

void LensSession::holdExpired(int motor)
{
    if (m_motion[size_t(motor)].running)
        queueStop(motor);
}

void LensSession::setPosition(int motor, int position)
{
    Motion &motion = m_motion[size_t(motor)];
    if (motion.position == position)
        return;
    motion.position = position;
    emit positionChanged(motor, position);
}

void LensSession::setMaximum(int motor, int maximum)
{
    Motion &motion = m_motion[size_t(motor)];
    if (motion.maximum == maximum)
        return;
    motion.maximum = maximum;
    emit maximumChanged(motor, maximum);
}

void LensSession::setRunning(int motor, bool running)
{
    Motion &motion = m_motion[size_t(motor)];
    if (!running)
        motion.holder = nullptr;
    if (motion.running == running)
        return;
    motion.running = running;
    emit runningChanged(motor, running);
}

void LensSession::setLiveReads(bool on)
{
    m_liveReadsOn = on;
    updateLiveReads();
}

void LensSession::updateLiveReads()
{
    const bool moving = !m_stopping && (hasMovesToSee() || std::any_of(m_motion.begin(), m_motion.end(), [this](const Motion &motion) {
        return m_liveReadsOn && (motion.running || motion.settling);
    }) || (m_tracking && (m_motion[zoom].running || m_motion[zoom].settling)));
    if (!moving)
        m_liveReads.stop();
    else if (!m_liveReads.isActive())
        m_liveReads.start();
}

void LensSession::readMoving()
{
    startDueCourses();
    // The zoom a focus follows is read whatever the window's live reads.
    const bool followed = m_tracking && m_heldDistance;
    for (const LensMotor &motor : LensMotor::all()) {
        const int index = motor.index();
        const Motion &motion = m_motion[size_t(index)];
        const bool seen = motion.approach || motion.finishing || m_courses[size_t(index)]
            || ((m_liveReadsOn || (followed && index == zoom)) && (motion.running || motion.settling));
        if (!motor.isOn(m_board) || !seen)
            continue;
        // Not twice, nor after a stop that reads the motor back anyway.
        const auto isRead = [&motor](const Job &job) {
            return job.request.motor == &motor && (job.quiet || isStop(job.request));
        };
        if ((m_current && isRead(*m_current)) || std::any_of(m_queue.begin(), m_queue.end(), isRead))
            continue;
        SessionRequest request;
        request.motor = &motor;
        enqueue({request, true, {}, {}});
    }
}

void LensSession::shutdown()
{
    if (m_stopping)
        return;
    m_stopping = true;
    m_liveReads.stop();
    m_courses = {};
    m_zoomFollowed = false;
    dropApproach(nullptr);
    std::deque<Job> dropped;
    dropped.swap(m_queue);
    for (const Job &job : dropped) {
        for (const Done &answer : job.waiting)
            answer(stopping());
    }
    for (int i = 0; i < int(m_motion.size()); ++i) {
        m_holds[size_t(i)].stop();
        const Motion &motion = m_motion[size_t(i)];
        if (motion.running || motion.settling || runUnderWay(LensMotor::all()[size_t(i)])) {
            SessionRequest request;
            request.kind = SessionRequest::Kind::Stop;
            request.motor = &LensMotor::all()[size_t(i)];
            m_queue.push_back({request, false, {}, {}});
        }
    }
    if (m_queue.empty() && !m_current) {
        QMetaObject::invokeMethod(this, &LensSession::finished, Qt::QueuedConnection);
        return;
    }
    schedule();
}

bool LensSession::isIdle() const
{
    return !m_current && m_queue.empty() && !m_liveReads.isActive()
        && std::none_of(m_holds.begin(), m_holds.end(), [](const QTimer &hold) { return hold.isActive(); });
}

std::optional<int> LensSession::position(const LensMotor &motor) const
{
    return m_motion[size_t(motor.index())].position;
}

std::optional<int> LensSession::maximum(const LensMotor &motor) const
{
    return m_motion[size_t(motor.index())].maximum;
}

bool LensSession::isRunning(const LensMotor &motor) const
{
    return m_motion[size_t(motor.index())].running;
}

std::optional<int> LensSession::heading(const LensMotor &motor) const
{
    const Motion &motion = m_motion[size_t(motor.index())];
    return motion.settling ? motion.target : std::nullopt;
}

const void *LensSession::holder(const LensMotor &motor) const
{
    // The newest word on the motor counts: a run or a stop still waiting,
    // then the one under way, then what the board was last told.
    const auto onMotor = [&motor](const Job &job) {
        return !job.quiet && job.request.motor == &motor && (isMove(job.request) || isStop(job.request));
    };
    const auto waiting = std::find_if(m_queue.rbegin(), m_queue.rend(), onMotor);
    const Job *latest = waiting != m_queue.rend() ? &*waiting : m_current && onMotor(*m_current) ? &*m_current : nullptr;
    if (latest)
        return latest->request.kind == SessionRequest::Kind::Run ? latest->request.holder : nullptr;
    const Motion &motion = m_motion[size_t(motor.index())];
    return motion.running ? motion.holder : nullptr;
}
