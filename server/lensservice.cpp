#include "lensservice.h"

#include "controller_tavro.h"
#include "exchangerecord.h"
#include "lensreadout.h"
#include "pause.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

LensService::Reply errorReply(int status, const QString &text)
{
    return {status, QJsonObject{{QStringLiteral("error"), text}}};
}

bool isMove(const RemoteRequest &request)
{
    return request.kind == RemoteRequest::Kind::Goto || request.kind == RemoteRequest::Kind::Run;
}

} // namespace

LensService::LensService(BoardType board, std::unique_ptr<Controller> driver, QObject *parent)
    : QObject(parent)
    , m_board(board)
    , m_driver(std::move(driver))
{
    for (int i = 0; i < int(m_holds.size()); ++i) {
        m_holds[i].setSingleShot(true);
        connect(&m_holds[i], &QTimer::timeout, this, [this, i] { holdExpired(i); });
    }
    m_liveReads.setInterval(liveReadMs);
    connect(&m_liveReads, &QTimer::timeout, this, &LensService::readMoving);
    // Keeps the clients answered while the driver waits for the board; what
    // they ask for meanwhile is only queued.
    m_previousKeepAlive = KeepAlive::setFunction([](KeepAlive::Reason, qint64) {
        QCoreApplication::processEvents();
    });
    m_previousReporter = OperatorReport::setReporter(
        [this](OperatorReport::Severity, const QString &text, const QString &detail) {
            if (!m_report.isEmpty())
                return;
            m_report = text.section(QLatin1Char('\n'), 0, 0);
            if (!detail.isEmpty())
                m_report += QStringLiteral(" (") + detail.section(QLatin1Char('\n'), 0, 0) + QLatin1Char(')');
        });
}

LensService::~LensService()
{
    OperatorReport::setReporter(m_previousReporter);
    KeepAlive::setFunction(m_previousKeepAlive);
}

int LensService::indexOf(const LensMotor *motor)
{
    return int(motor - LensMotor::all().data());
}

void LensService::start(bool calibrate)
{
    RemoteRequest request;
    request.kind = calibrate ? RemoteRequest::Kind::Calibrate : RemoteRequest::Kind::Refresh;
    enqueue({JobKind::Start, request, {}});
}

void LensService::submit(const RemoteRequest &request, const Done &done)
{
    QList<Done> waiting;
    if (done)
        waiting << done;
    if (m_stopping) {
        for (const Done &answer : waiting)
            answer(errorReply(503, QStringLiteral("the server is stopping")));
        return;
    }
    if (request.kind == RemoteRequest::Kind::Status) {
        for (const Done &answer : waiting)
            answer({200, status()});
        return;
    }
    if (request.kind == RemoteRequest::Kind::Run) {
        // The repeat of the run under way holds it on, with nothing sent.
        const int index = indexOf(request.motor);
        const Motion &motion = m_motion[index];
        // A repeat that comes while its run is being sent is a repeat too.
        const bool sending = m_current && m_current->kind == RemoteRequest::Kind::Run
            && m_current->motor == request.motor && m_current->direction == request.direction
            && (request.speed < 0 || request.speed == m_current->speed);
        if (sending
            || (motion.running && motion.direction == request.direction
                && (request.speed < 0 || request.speed == motion.speed))) {
            m_holds[index].start(request.holdMs);
            for (const Done &answer : waiting)
                answer({200, status()});
            return;
        }
    }
    enqueue({JobKind::Request, request, waiting});
}

void LensService::enqueue(Job job)
{
    const RemoteRequest &request = job.request;
    if (job.kind == JobKind::Request && (isMove(request) || request.kind == RemoteRequest::Kind::Stop)) {
        // A move or stop still queued for the same motor is overtaken: its
        // clients hear how the newer one went.
        const bool stopping = request.kind == RemoteRequest::Kind::Stop;
        for (auto it = m_queue.begin(); it != m_queue.end();) {
            const bool sameMotor = it->kind == JobKind::Request && it->request.motor == request.motor
                && (isMove(it->request) || it->request.kind == RemoteRequest::Kind::Stop);
            if (!sameMotor) {
                ++it;
                continue;
            }
            job.waiting = it->waiting + job.waiting;
            if (!stopping && it->request.kind != RemoteRequest::Kind::Stop) {
                // Newest wins, in the place of the one it replaces.
                it->request = request;
                it->waiting = job.waiting;
                return;
            }
            it = m_queue.erase(it);
        }
        if (stopping) {
            m_holds[indexOf(request.motor)].stop();
            // Behind the stops already waiting, ahead of everything else.
            const auto firstOther = std::find_if(m_queue.begin(), m_queue.end(), [](const Job &queued) {
                return queued.kind != JobKind::Request || queued.request.kind != RemoteRequest::Kind::Stop;
            });
            m_queue.insert(firstOther, std::move(job));
            schedule();
            return;
        }
    }
    m_queue.push_back(std::move(job));
    schedule();
}

void LensService::schedule()
{
    if (m_busy || m_pumpScheduled || m_queue.empty())
        return;
    m_pumpScheduled = true;
    QMetaObject::invokeMethod(this, &LensService::pump, Qt::QueuedConnection);
}

void LensService::pump()
{
    m_pumpScheduled = false;
    if (m_busy || m_queue.empty())
        return;
    const Job job = std::move(m_queue.front());
    m_queue.pop_front();
    m_busy = true;
    m_report.clear();
    if (job.kind == JobKind::Request)
        m_current = job.request;
    const std::optional<Reply> error = execute(job);
    m_current.reset();
    m_busy = false;
    if (error && error->status == 502)
        emit failed(error->body.value(QLatin1String("error")).toString());
    const Reply reply = error ? *error : Reply{200, status()};
    for (const Done &answer : job.waiting)
        answer(reply);
    updateLiveReads();
    schedule();
    if (m_stopping && m_queue.empty())
        emit finished();
}

std::optional<LensService::Reply> LensService::execute(const Job &job)
{
    const RemoteRequest &request = job.request;
    if (job.kind == JobKind::Read) {
        readPosition(*request.motor);
        return std::nullopt;
    }
    const int failuresBefore = m_driver->failureCount();
    switch (request.kind) {
    case RemoteRequest::Kind::Status:
        return std::nullopt;
    case RemoteRequest::Kind::Goto:
        return goTo(request);
    case RemoteRequest::Kind::Run:
        return run(request);
    case RemoteRequest::Kind::Stop:
        return stop(*request.motor);
    case RemoteRequest::Kind::PresetCall:
        if (request.speed >= 0)
            m_driver->callPresetAtSpeed(char(request.value), char(request.speed));
        else
            m_driver->callPreset(char(request.value));
        if (const std::optional<Reply> error = boardError(failuresBefore, LensReadout::rejected(*m_driver)))
            return error;
        settleAll();
        return readAll();
    case RemoteRequest::Kind::PresetStore:
        m_driver->storePreset(char(request.value));
        // The Pellan driver keeps its presets on this computer; written out at
        // once, they are there for the window and the tool too.
        if (m_board == BoardType::Pellan && m_driver->failureCount() == failuresBefore)
            m_driver->storeInDevice();
        return boardError(failuresBefore, LensReadout::rejected(*m_driver));
    case RemoteRequest::Kind::Refresh:
        return readAll();
    case RemoteRequest::Kind::Calibrate:
        m_driver->calibrateAll();
        if (const std::optional<Reply> error = boardError(failuresBefore, LensReadout::rejected(*m_driver)))
            return error;
        // The Tavro board calibrates on its own after acknowledging; the
        // Pellan driver waits for its calibration runs itself.
        if (m_board == BoardType::Tavro)
            Pause::wait(ControllerTavro::calibrationMs);
        return readAll();
    case RemoteRequest::Kind::Store:
        m_driver->storeInDevice();
        return boardError(failuresBefore, LensReadout::rejected(*m_driver));
    }
    return std::nullopt;
}

std::optional<LensService::Reply> LensService::goTo(const RemoteRequest &request)
{
    const LensMotor &motor = *request.motor;
    const int index = indexOf(&motor);
    Motion &motion = m_motion[index];
    const int failuresBefore = m_driver->failureCount();
    // The range is the board's; a board that was silent at start is asked now.
    if (!motion.maximum) {
        const int maximum = (m_driver.get()->*motor.maximum)();
        if (const std::optional<Reply> error = boardError(failuresBefore, LensReadout::noAnswer(*m_driver)))
            return error;
        if (maximum < 0)
            return errorReply(502, LensReadout::noAnswer(*m_driver));
        setMaximum(index, maximum);
    }
    const int position = request.share >= 0 ? qRound(request.share * *motion.maximum) : request.value;
    if (position > *motion.maximum)
        return errorReply(400, QStringLiteral("position must be from 0 to %1 for the %2")
                                   .arg(*motion.maximum)
                                   .arg(QLatin1String(motor.name)));
    (m_driver.get()->*motor.setPosition)(position);
    if (const std::optional<Reply> error = boardError(failuresBefore, LensReadout::rejected(*m_driver)))
        return error;
    motion.settling = true;
    motion.unchangedReads = 0;
    readPosition(motor);
    return std::nullopt;
}

std::optional<LensService::Reply> LensService::run(const RemoteRequest &request)
{
    const LensMotor &motor = *request.motor;
    const int index = indexOf(&motor);
    const int failuresBefore = m_driver->failureCount();
    if (request.speed >= 0)
        (m_driver.get()->*motor.setSpeed)(char(request.speed));
    if (m_driver->failureCount() == failuresBefore)
        (m_driver.get()->*motor.runs[request.direction])();
    if (const std::optional<Reply> error = boardError(failuresBefore, LensReadout::rejected(*m_driver)))
        return error;
    Motion &motion = m_motion[index];
    motion.direction = request.direction;
    motion.speed = request.speed;
    m_holds[index].start(request.holdMs);
    setRunning(index, true);
    return std::nullopt;
}

std::optional<LensService::Reply> LensService::stop(const LensMotor &motor)
{
    const int index = indexOf(&motor);
    m_holds[index].stop();
    const int failuresBefore = m_driver->failureCount();
    (m_driver.get()->*motor.stop)();
    if (const std::optional<Reply> error = boardError(failuresBefore, LensReadout::rejected(*m_driver))) {
        // A motor that may still run is stopped again after another hold,
        // until the board takes the stop.
        if (m_motion[index].running && !m_stopping)
            m_holds[index].start(RemoteRequest::defaultHoldMs);
        return error;
    }
    setRunning(index, false);
    m_motion[index].settling = false;
    readPosition(motor);
    return boardError(failuresBefore, LensReadout::noAnswer(*m_driver));
}

std::optional<LensService::Reply> LensService::readAll()
{
    const int failuresBefore = m_driver->failureCount();
    QString text;
    QJsonObject readout;
    const QString problem = LensReadout::read(*m_driver, m_board, &text, &readout);
    if (!problem.isEmpty())
        return boardError(failuresBefore, problem).value_or(errorReply(502, problem));
    for (int i = 0; i < int(LensMotor::all().size()); ++i) {
        const QString name = QLatin1String(LensMotor::all()[i].name);
        const QJsonValue position = readout.value(name);
        if (position.isNull())
            continue;
        setPosition(i, position.toInt());
        setMaximum(i, readout.value(name + QStringLiteral("Max")).toInt());
    }
    return std::nullopt;
}

void LensService::readPosition(const LensMotor &motor)
{
    const int failuresBefore = m_driver->failureCount();
    const int position = (m_driver.get()->*motor.position)();
    if (m_driver->failureCount() != failuresBefore)
        return;
    const int index = indexOf(&motor);
    Motion &motion = m_motion[index];
    motion.unchangedReads = motion.position == position ? motion.unchangedReads + 1 : 0;
    // A motor sent to a position stands once two reads in a row find it
    // where it was.
    if (motion.unchangedReads >= 2)
        motion.settling = false;
    setPosition(index, position);
}

std::optional<LensService::Reply> LensService::boardError(int failuresBefore, const QString &fallback)
{
    if (m_driver->failureCount() == failuresBefore)
        return std::nullopt;
    // The drivers report a port that would not open; that says more than
    // that the board did not answer.
    return errorReply(502, m_report.isEmpty() ? fallback : m_report);
}

void LensService::setPosition(int index, int position)
{
    Motion &motion = m_motion[index];
    if (motion.position == position)
        return;
    motion.position = position;
    emit changed({{QLatin1String(LensMotor::all()[index].name), position}});
}

void LensService::setMaximum(int index, int maximum)
{
    Motion &motion = m_motion[index];
    if (motion.maximum == maximum)
        return;
    motion.maximum = maximum;
    emit changed({{QLatin1String(LensMotor::all()[index].name) + QStringLiteral("Max"), maximum}});
}

void LensService::setRunning(int index, bool running)
{
    if (m_motion[index].running == running)
        return;
    m_motion[index].running = running;
    emit changed({{QStringLiteral("running"), runningNames()}});
}

void LensService::settleAll()
{
    for (Motion &motion : m_motion) {
        motion.settling = true;
        motion.unchangedReads = 0;
    }
}

void LensService::updateLiveReads()
{
    const bool moving = std::any_of(m_motion.begin(), m_motion.end(), [this](const Motion &motion) {
        return (motion.running || motion.settling) && !m_stopping;
    });
    if (!moving)
        m_liveReads.stop();
    else if (!m_liveReads.isActive())
        m_liveReads.start();
}

void LensService::readMoving()
{
    for (int i = 0; i < int(m_motion.size()); ++i) {
        const LensMotor &motor = LensMotor::all()[i];
        if (!motor.isOn(m_board) || !(m_motion[i].running || m_motion[i].settling))
            continue;
        const bool queued = std::any_of(m_queue.begin(), m_queue.end(), [&motor](const Job &job) {
            return job.kind == JobKind::Read && job.request.motor == &motor;
        });
        if (queued)
            continue;
        RemoteRequest request;
        request.motor = &motor;
        enqueue({JobKind::Read, request, {}});
    }
}

void LensService::holdExpired(int index)
{
    RemoteRequest request;
    request.kind = RemoteRequest::Kind::Stop;
    request.motor = &LensMotor::all()[index];
    enqueue({JobKind::Request, request, {}});
}

QJsonArray LensService::runningNames() const
{
    QJsonArray names;
    for (int i = 0; i < int(m_motion.size()); ++i) {
        if (m_motion[i].running)
            names.append(QLatin1String(LensMotor::all()[i].name));
    }
    return names;
}

QJsonObject LensService::status() const
{
    QJsonObject object{{QStringLiteral("board"), ExchangeRecord::boardName(m_board).toLower()},
                       {QStringLiteral("port"), m_driver->portName()},
                       {QStringLiteral("running"), runningNames()}};
    for (int i = 0; i < int(m_motion.size()); ++i) {
        const QString name = QLatin1String(LensMotor::all()[i].name);
        const Motion &motion = m_motion[i];
        object.insert(name, motion.position ? QJsonValue(*motion.position) : QJsonValue());
        object.insert(name + QStringLiteral("Max"), motion.maximum ? QJsonValue(*motion.maximum) : QJsonValue());
    }
    return object;
}

void LensService::shutdown()
{
    if (m_stopping)
        return;
    m_stopping = true;
    m_liveReads.stop();
    std::deque<Job> dropped;
    dropped.swap(m_queue);
    for (const Job &job : dropped) {
        for (const Done &answer : job.waiting)
            answer(errorReply(503, QStringLiteral("the server is stopping")));
    }
    for (int i = 0; i < int(m_motion.size()); ++i) {
        Motion &motion = m_motion[i];
        if (!motion.running && !motion.settling)
            continue;
        RemoteRequest request;
        request.kind = RemoteRequest::Kind::Stop;
        request.motor = &LensMotor::all()[i];
        m_queue.push_back({JobKind::Request, request, {}});
    }
    if (m_queue.empty() && !m_busy) {
        QMetaObject::invokeMethod(this, &LensService::finished, Qt::QueuedConnection);
        return;
    }
    schedule();
}

bool LensService::isIdle() const
{
    return !m_busy && m_queue.empty() && !m_liveReads.isActive()
        && std::none_of(m_holds.begin(), m_holds.end(), [](const QTimer &hold) { return hold.isActive(); });
}
