#include "speedmeasurementtask.h"

#include "lensactions.h"
#include "lensmotor.h"
#include "lenssession.h"
#include "operationmonitor.h"
#include "portreport.h"
#include "profilespeeds.h"
#include "speedmeasurement.h"

#include <QDebug>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>

#include <optional>

// The measurement and what it came to, shared by the driver's thread, which
// fills it in, and the window's, which reads it once the work is done.
struct SpeedMeasurementTask::Run
{
    explicit Run(BoardType board, const LensProfileData &profile, SpeedMeasurement::Measured measured)
        : measurement(board, profile.limits, std::move(measured))
    {
    }

    SpeedMeasurement measurement;
    std::optional<SpeedMeasurement::Speeds> speeds;
    QString port;
};

SpeedMeasurementTask::SpeedMeasurementTask(LensActions &actions, OperationMonitor &monitor, QObject *parent)
    : QObject(parent)
    , m_actions(actions)
    , m_monitor(monitor)
{
    connect(&m_monitor, &OperationMonitor::closeHeldBack, this, &SpeedMeasurementTask::cancel);
}

SpeedMeasurementTask::~SpeedMeasurementTask()
{
    cancel();
}

bool SpeedMeasurementTask::start(const QString &path, const LensProfileData &profile)
{
    LensSession *session = m_actions.session();
    if (!session || m_run || !m_monitor.begin(tr("Measuring the motors' speeds…")))
        return false;
    m_path = path;
    m_profile = profile;
    m_clock.start();
    // Heard on the driver's thread, told on the window's: the session that
    // owns the driver outlives the work, this task perhaps not.
    const QPointer<SpeedMeasurementTask> self(this);
    auto measured = [self, session](const LensMotor &motor, int level, double speed) {
        QMetaObject::invokeMethod(session, [self, &motor, level, speed] {
            if (self)
                emit self->measured(measuredLine(motor, level, speed));
        }, Qt::QueuedConnection);
    };
    m_run = std::make_shared<Run>(session->board(), profile, measured);
    m_run->port = session->portName();
    qInfo() << "Measuring the motors' speeds into" << path;
    session->submitWork(
        [run = m_run](Controller &driver, SessionDriver::Done &done) { run->speeds = run->measurement.run(driver, done); },
        [self, run = m_run](const SessionResult &result) {
            if (self)
                self->finish(*run, result.kind == SessionResult::Kind::Stopping);
        });
    return true;
}

void SpeedMeasurementTask::cancel()
{
    if (m_run)
        m_run->measurement.cancel();
}

void SpeedMeasurementTask::finish(const Run &run, bool stopping)
{
    End end = End::Written;
    QString text;
    const QString file = QFileInfo(m_path).fileName();
    if (stopping || (!run.speeds && run.measurement.failure().kind == SpeedMeasurement::Failure::Kind::Cancelled)) {
        end = End::Cancelled;
        qInfo() << "Speed measurement called off; the profile is left as it was";
    } else if (!run.speeds) {
        end = End::Failed;
        text = failureText(run);
        qWarning() << "Speed measurement failed:" << SpeedMeasurement::words(run.measurement.failure(), run.port);
    } else {
        const ProfileSpeeds::Written written = ProfileSpeeds::write(m_path, m_profile, *run.speeds);
        switch (written.kind) {
        case ProfileSpeeds::Written::Kind::Written:
            //: The seconds the measurement took, then the profile's file name.
            text = tr("Speeds measured in %1 s and written to %2.")
                       .arg(QLocale().toString(double(m_clock.elapsed()) / 1000, 'f', 1), file);
            qInfo() << "Speeds measured and written to" << m_path;
            break;
        case ProfileSpeeds::Written::Kind::Invalid:
            end = End::Failed;
            text = tr("The measured speeds were not written: %1").arg(written.detail);
            break;
        case ProfileSpeeds::Written::Kind::Unwritable:
            end = End::Failed;
            text = tr("The measured speeds could not be written to %1: %2").arg(m_path, written.detail);
            break;
        }
        if (end == End::Failed)
            qWarning() << "Measured speeds not written:" << written.detail;
    }
    // The measurement left the motors elsewhere, at the high speed level.
    m_run.reset();
    m_actions.owePanelSpeeds();
    m_monitor.setStep(tr("Reading the positions…"));
    m_actions.readPositionsAndRanges(LensActions::Reads::All, [this, end, text] {
        m_monitor.end();
        emit ended(end, text);
    });
}

QString SpeedMeasurementTask::failureText(const Run &run) const
{
    using Kind = SpeedMeasurement::Failure::Kind;
    const SpeedMeasurement::Failure &failure = run.measurement.failure();
    const int axis = failure.motor ? failure.motor->index() : 0;
    static const char *const motors[] = {QT_TR_NOOP("Zoom"), QT_TR_NOOP("Focus"), QT_TR_NOOP("Iris")};
    const QString motor = tr(motors[axis]);
    const QString what = whatOf(axis, failure.level);
    QString reason;
    switch (failure.kind) {
    case Kind::Exchange:
        if (const auto report = PortReport::of(failure.result.outcome, run.port, failure.result.query))
            reason = report->text;
        else if (failure.result.query)
            reason = tr("No valid answer from the board on %1.").arg(run.port);
        else
            reason = tr("The board on %1 rejected a command or did not acknowledge it.").arg(run.port);
        break;
    case Kind::TooShort:
        reason = tr("%1: travels too little to be timed, from %2 to %3.")
                     .arg(motor).arg(failure.lowest).arg(failure.highest);
        break;
    case Kind::TooFewReadings:
        reason = tr("%1: too few readings between %2 % and %3 % of the travel to time it.")
                     .arg(what).arg(qRound(SpeedFit::cruiseFrom * 100)).arg(qRound(SpeedFit::cruiseTo * 100));
        break;
    case Kind::NoStand:
        reason = tr("%1: did not come to a stand within %2 s.").arg(motor).arg(SpeedMeasurement::longestMoveMs / 1000);
        break;
    case Kind::Cancelled:
        break;
    }
    return tr("The speeds were not measured, and the profile is left as it was. %1").arg(reason);
}

QString SpeedMeasurementTask::whatOf(int motor, int level)
{
    static const char *const whats[3][3] = {
        {QT_TR_NOOP("Zoom at low speed"), QT_TR_NOOP("Zoom at medium speed"), QT_TR_NOOP("Zoom at high speed")},
        {QT_TR_NOOP("Focus at low speed"), QT_TR_NOOP("Focus at medium speed"), QT_TR_NOOP("Focus at high speed")},
        {QT_TR_NOOP("Iris"), QT_TR_NOOP("Iris"), QT_TR_NOOP("Iris")},
    };
    return tr(whats[motor][qMax(0, level)]);
}

QString SpeedMeasurementTask::measuredLine(const LensMotor &motor, int level, double speed)
{
    //: A measured speed: the motor and its speed level, then counts per second.
    return tr("%1: %2 counts/s").arg(whatOf(motor.index(), level), QLocale().toString(speed));
}
