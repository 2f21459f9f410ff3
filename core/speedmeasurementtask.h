#ifndef SPEEDMEASUREMENTTASK_H
#define SPEEDMEASUREMENTTASK_H

#include "lensprofile.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <memory>

class LensActions;
class OperationMonitor;
struct LensMotor;

// Lens ▸ Measure speeds…: the board's motors timed (SpeedMeasurement) as one
// operation of the monitor, as work on the session's driver, so that the
// window goes on painting while the motors travel; each speed is heard as it
// is measured, and the speeds go into the profile's file once all are in.
// Called off (Cancel, or the window asked to close), the motor on its way is
// sent a stop at its next reading and nothing is written. Either way the
// positions are read again, and the panel's speed levels go out again with
// the next action that uses them.
class SpeedMeasurementTask : public QObject
{
    Q_OBJECT

public:
    enum class End { Written, Failed, Cancelled };

    SpeedMeasurementTask(LensActions &actions, OperationMonitor &monitor, QObject *parent = nullptr);
    // Calls off a measurement under way: the session that owns the driver
    // waits for the stop.
    ~SpeedMeasurementTask() override;

    // Starts on the session in service, with profile as read from path; false
    // when there is none or an operation runs already.
    bool start(const QString &path, const LensProfileData &profile);
    void cancel();
    bool isRunning() const { return bool(m_run); }

signals:
    // A speed as it is measured, worded for the operator, such as
    // "Zoom at low speed: 400 counts/s".
    void measured(const QString &line);
    // Written: the status line's words; Failed: the reason; Cancelled: empty.
    void ended(SpeedMeasurementTask::End end, const QString &text);

private:
    struct Run;
    void finish(const Run &run, bool stopping);
    QString failureText(const Run &run) const;
    // "Zoom at low speed", "Iris": motor by its place in LensMotor::all().
    static QString whatOf(int motor, int level);
    static QString measuredLine(const LensMotor &motor, int level, double speed);

    LensActions &m_actions;
    OperationMonitor &m_monitor;
    std::shared_ptr<Run> m_run;
    QString m_path;
    LensProfileData m_profile;
    QElapsedTimer m_clock;
};

#endif // SPEEDMEASUREMENTTASK_H
