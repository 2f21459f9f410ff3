#include "lensactions.h"

#include "controller.h"
#include "controller_tavro.h"
#include "lensmotor.h"
#include "operation.h"
#include "operationmonitor.h"
#include "operatorreport.h"
#include "pause.h"

#include <QDebug>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QSlider>

#include <optional>
#include <utility>

namespace {

// One iris slider unit is this many driver units.
constexpr int IrisUnitsPerStep = 55;

// The iris range the window offers, whatever the board reports.
constexpr int IrisSliderMaximum = 100;

// The board needs this long to take a position before the next command.
constexpr unsigned long SettleAfterMoveMs = 500;

using Motor = LensActions::Motor;

// A motor's widgets and words, with the driver operations of its entry in the
// motor table, whose directions are in the order of Direction.
struct MotorWiring
{
    const LensMotor &motor;
    QSlider *slider;
    QLineEdit *lineEdit;
    // Indexed by Direction: towards 0, towards the maximum.
    QPushButton *runButtons[2];
    // "-" and "+".
    QPushButton *stepButtons[2];
    int unitsPerStep;
    // The trace lines of a slider release and of a finished entry (none: no line).
    const char *sliderLine;
    const char *lineEditLine;
    QString moving;
    QString stopping;
};

MotorWiring wiringOf(const LensPanel &panel, Motor motor)
{
    const LensPanel::MotorControls &c = panel.motors[int(motor)];
    const LensMotor &m = LensMotor::all()[size_t(motor)];
    switch (motor) {
    case Motor::Zoom:
        return {m, c.slider, c.field, {c.runButtons[0], c.runButtons[1]}, {c.stepButtons[0], c.stepButtons[1]}, 1,
                "motor1SliderChanged()", "motor1LineEditChanged()", LensActions::tr("Moving the zoom…"),
                LensActions::tr("Stopping the zoom…")};
    case Motor::Focus:
        return {m, c.slider, c.field, {c.runButtons[0], c.runButtons[1]}, {c.stepButtons[0], c.stepButtons[1]}, 1,
                "motor2SliderChanged()", "motor2LineEditChanged()", LensActions::tr("Moving the focus…"),
                LensActions::tr("Stopping the focus…")};
    case Motor::Iris:
        break;
    }
    return {m, c.slider, c.field, {c.runButtons[0], c.runButtons[1]}, {c.stepButtons[0], c.stepButtons[1]},
            IrisUnitsPerStep, nullptr, nullptr, LensActions::tr("Moving the iris…"),
            LensActions::tr("Stopping the iris…")};
}

constexpr Motor kMotors[] = {Motor::Zoom, Motor::Focus, Motor::Iris};

// A typed position: negative numbers count as 0 and the slider clamps what is
// too large; the field then shows what the slider took. Text that is not a
// number (or too large for one) sends nothing: the field goes back to the
// slider's position. Returns the slider position that is to be sent.
std::optional<int> takeTypedPosition(QSlider *slider, QLineEdit *lineEdit)
{
    QSignalBlocker blocker(slider);
    bool ok = false;
    const int position = lineEdit->text().toInt(&ok, 10);
    if (!ok) {
        qDebug() << "wrong input";
        lineEdit->setText(QString::number(slider->value()));
        return std::nullopt;
    }
    slider->setFocus();
    slider->setValue(qMax(0, position));
    lineEdit->setText(QString::number(slider->value()));
    blocker.unblock();
    return slider->value();
}

} // namespace

LensActions::LensActions(QWidget *window, const LensPanel &panel, const std::unique_ptr<Controller> &comm,
                         OperationMonitor &monitor)
    : m_window(window)
    , m_panel(panel)
    , m_comm(comm)
    , m_monitor(monitor)
{
    m_window->installEventFilter(this);
}

bool LensActions::run(Motor motor, Direction direction, const QObject *holder, std::optional<int> speed)
{
    const MotorWiring w = wiringOf(m_panel, motor);
    if (!m_comm || m_monitor.isRunning() || !w.runButtons[int(direction)]->isEnabled())
        return false;
    // Before the operation, as a click on the button would: a typed entry
    // that loses the focus goes out first.
    w.slider->setFocus();
    const Operation operation(m_monitor, w.moving);
    if (!operation || !m_comm)
        return false;
    // Through a local: GCC 12 with the address and undefined-behaviour
    // sanitizers calls the other element when the indexed array element
    // itself is called.
    const auto runOperation = w.motor.runs[size_t(direction)];
    const bool ownSpeed = speed && w.motor.setSpeed;
    if (ownSpeed)
        (m_comm.get()->*w.motor.setSpeed)(char(*speed));
    else
        givePanelSpeed(motor);
    (m_comm.get()->*runOperation)();
    m_runs[int(motor)] = {true, holder, ownSpeed || m_runs[int(motor)].ownSpeed};
    emit runsChanged();
    return true;
}

void LensActions::stop(Motor motor)
{
    const MotorWiring w = wiringOf(m_panel, motor);
    const Operation operation(m_monitor, w.stopping);
    if (!operation || !m_comm)
        return;
    const bool ownSpeed = endRun(motor);
    (m_comm.get()->*w.motor.stop)();
    const int position = (m_comm.get()->*w.motor.position)();
    // A failed focus read shows the focus at 0; the others leave the display.
    if (motor == Motor::Focus)
        showPosition(motor, qMax(0, position));
    else
        showReadBack(motor, position);
    if (ownSpeed)
        setPanelSpeed(motor);
    w.slider->setFocus();
}

void LensActions::release(Motor motor, const QObject *holder)
{
    m_monitor.runWhenIdle(this, [this, motor, holder] {
        if (holder && this->holder(motor) == holder)
            stop(motor);
    });
}

void LensActions::releaseAll(const QObject *holder)
{
    for (const Motor motor : kMotors) {
        const QObject *held = this->holder(motor);
        if (held && (!holder || held == holder))
            release(motor, held);
    }
}

const QObject *LensActions::holder(Motor motor) const
{
    const Run &run = m_runs[int(motor)];
    return run.running ? run.holder : nullptr;
}

QList<LensActions::Motor> LensActions::runningMotors() const
{
    QList<Motor> running;
    for (const Motor motor : kMotors) {
        if (m_runs[int(motor)].running)
            running << motor;
    }
    return running;
}

void LensActions::forgetRuns()
{
    for (const Motor motor : runningMotors()) {
        if (m_comm)
            (m_comm.get()->*LensMotor::all()[size_t(motor)].stop)();
        endRun(motor);
    }
}

void LensActions::stopAll()
{
    for (const Motor motor : runningMotors())
        stop(motor);
}

void LensActions::setPanelSpeeds(int zoom, int focus)
{
    m_panelSpeeds = {zoom, focus, 0};
    m_panelSpeedOwed = {};
}

bool LensActions::endRun(Motor motor)
{
    const Run run = std::exchange(m_runs[int(motor)], Run());
    if (run.running)
        emit runsChanged();
    return run.ownSpeed;
}

void LensActions::setPanelSpeed(Motor motor)
{
    m_panelSpeedOwed[int(motor)] = false;
    if (const auto speed = LensMotor::all()[size_t(motor)].setSpeed)
        (m_comm.get()->*speed)(char(m_panelSpeeds[int(motor)]));
}

void LensActions::givePanelSpeed(Motor motor)
{
    if (m_panelSpeedOwed[int(motor)])
        setPanelSpeed(motor);
}

void LensActions::sendSlider(Motor motor)
{
    m_monitor.runWhenIdle(this, [this, motor] {
        const MotorWiring w = wiringOf(m_panel, motor);
        const Operation operation(m_monitor, w.moving);
        if (!operation || !m_comm)
            return;
        m_inHand[int(motor)] = false;
        if (w.sliderLine)
            qDebug() << w.sliderLine;
        {
            const QSignalBlocker blocker(w.lineEdit);
            w.lineEdit->setText(QString::number(w.slider->value()));
        }
        givePanelSpeed(motor);
        (m_comm.get()->*w.motor.setPosition)(w.slider->value() * w.unitsPerStep);
        Pause::wait(SettleAfterMoveMs);
    });
}

void LensActions::sendTyped(Motor motor)
{
    m_monitor.runWhenIdle(this, [this, motor] {
        const MotorWiring w = wiringOf(m_panel, motor);
        const Operation operation(m_monitor, w.moving);
        if (!operation || !m_comm)
            return;
        if (w.lineEditLine)
            qDebug() << w.lineEditLine;
        const std::optional<int> position = takeTypedPosition(w.slider, w.lineEdit);
        if (!position)
            return;
        if (motor == Motor::Zoom)
            qDebug() << "all digits";
        givePanelSpeed(motor);
        (m_comm.get()->*w.motor.setPosition)(*position * w.unitsPerStep);
    });
}

// A step is a hundredth of the range, the same size in both directions; the
// slider clamps at the ends. The slider stays where it is when the send
// could not run.
void LensActions::step(Motor motor, int direction)
{
    const MotorWiring w = wiringOf(m_panel, motor);
    if (!m_comm || m_monitor.isRunning() || !w.stepButtons[direction > 0]->isEnabled())
        return;
    QSlider *slider = w.slider;
    slider->setValue(slider->value() + direction * (slider->maximum() / 100));
    sendSlider(motor);
}

void LensActions::setSliderInHand(Motor motor, bool inHand)
{
    m_inHand[int(motor)] = inHand;
}

bool LensActions::callPreset(int preset)
{
    const PresetSpeed speed = presetSpeed(preset);
    return presetAction(QStringLiteral("pb_callPreset%1"), tr("Calling preset %1…"), [this, speed](char number) {
        if (speed == PresetSpeed::Panel) {
            givePanelSpeed(Motor::Zoom);
            givePanelSpeed(Motor::Focus);
            m_comm->callPreset(number);
            return;
        }
        m_comm->callPresetAtSpeed(number, char(int(speed) - 1));
        m_panelSpeedOwed[int(Motor::Zoom)] = true;
        m_panelSpeedOwed[int(Motor::Focus)] = true;
    }, preset);
}

LensActions::PresetSpeed LensActions::presetSpeed(int preset) const
{
    return preset >= 1 && preset <= presetCount ? m_presetSpeeds[size_t(preset - 1)] : PresetSpeed::Panel;
}

void LensActions::setPresetSpeed(int preset, PresetSpeed speed)
{
    if (preset >= 1 && preset <= presetCount)
        m_presetSpeeds[size_t(preset - 1)] = speed;
}

bool LensActions::storePreset(int preset)
{
    return presetAction(QStringLiteral("pb_storePreset%1"), tr("Storing preset %1…"),
                        [this](char number) { m_comm->storePreset(number); }, preset);
}

// The preset number travels as the number itself (1..10), not as a digit.
bool LensActions::presetAction(const QString &button, const QString &step, const std::function<void(char)> &call,
                               int preset)
{
    const auto *pushButton = m_window->findChild<QPushButton *>(button.arg(preset));
    if (!pushButton || !pushButton->isEnabled())
        return false;
    const Operation operation(m_monitor, step.arg(preset));
    if (!operation || !m_comm)
        return false;
    call(char(preset));
    return true;
}

bool LensActions::refresh()
{
    if (!m_panel.refresh->isEnabled())
        return false;
    const Operation operation(m_monitor, tr("Reading the positions…"));
    if (!operation || !m_comm)
        return false;
    const int focus = m_comm->getFocusPosition();
    if (focus >= 0)
        showPosition(Motor::Focus, focus);
    const int zoom = m_comm->getZoomPosition();
    if (zoom >= 0)
        showPosition(Motor::Zoom, zoom);
    showReadBack(Motor::Iris, m_comm->getIrisPosition());
    return true;
}

void LensActions::storeInDevice()
{
    const Operation operation(m_monitor, tr("Storing in the board…"));
    if (operation && m_comm)
        m_comm->storeInDevice();
}

void LensActions::calibrateAll()
{
    Operation operation(m_monitor, tr("Calibrating…"));
    if (!operation)
        return;
    if (!m_comm) {
        qDebug() << "comm not set";
        return;
    }
    // Whichever the board, the window gives it the Tavro board's calibration
    // time before it reads the new positions.
    calibrate(ControllerTavro::calibrationMs);
    operation.setStep(tr("Reading the positions…"));
    readPositionsAndRanges();
}

void LensActions::calibrate(unsigned long waitMs)
{
    if (waitMs > 0)
        Pause::announce(waitMs);
    m_comm->calibrateAll();
    // Calibrated, the motors stand; a run's own speed gives way to the panel's.
    for (const Motor motor : kMotors) {
        if (endRun(motor))
            setPanelSpeed(motor);
    }
    if (waitMs > 0)
        Pause::wait(waitMs);
}

void LensActions::readPositionsAndRanges()
{
    if (!m_comm)
        return;
    const int zoom = m_comm->getZoomPosition();
    const int focus = m_comm->getFocusPosition();
    const int iris = m_comm->getIrisPosition();
    const int maxZoom = m_comm->getMaxZoomPosition();
    const int maxFocus = m_comm->getMaxFocusPosition();

    // A failed maximum read keeps the range and display the motor had.
    if (maxZoom >= 0) {
        m_panel.motors[0].slider->setMaximum(maxZoom);
        showPosition(Motor::Zoom, zoom);
    }
    if (maxFocus >= 0) {
        m_panel.motors[1].slider->setMaximum(maxFocus);
        showPosition(Motor::Focus, focus);
    }
    m_panel.motors[2].slider->setMaximum(IrisSliderMaximum);
    showReadBack(Motor::Iris, iris);
}

void LensActions::showPosition(Motor motor, int position)
{
    const MotorWiring w = wiringOf(m_panel, motor);
    // The field keeps the number as read; only the slider is held to its range.
    w.lineEdit->setText(QString::number(position));
    w.slider->setValue(position);
}

void LensActions::showReadBack(Motor motor, int driverUnits)
{
    // Tested before dividing: a failed iris read (-1) would otherwise show as 0.
    if (driverUnits >= 0)
        showPosition(motor, driverUnits / wiringOf(m_panel, motor).unitsPerStep);
}

void LensActions::readLive(Motor motor)
{
    const MotorWiring w = wiringOf(m_panel, motor);
    const Operation read(m_monitor, QString(), OperationMonitor::Mode::Quiet);
    if (!read || !m_comm)
        return;
    // The next STOP or Refresh tells of a link that fails; a read the operator
    // did not ask for does not.
    const OperatorReport::Reporter previous =
        OperatorReport::setReporter([](OperatorReport::Severity, const QString &, const QString &) {});
    const auto restore = qScopeGuard([&previous] { OperatorReport::setReporter(previous); });
    const int position = (m_comm.get()->*w.motor.position)();
    // Left alone while the operator has the slider or the field in hand.
    if (!m_inHand[int(motor)] && !w.slider->isSliderDown() && !w.lineEdit->hasFocus())
        showReadBack(motor, position);
}

QSlider *LensActions::slider(Motor motor) const
{
    return wiringOf(m_panel, motor).slider;
}

QPushButton *LensActions::runButton(Motor motor, Direction direction) const
{
    return m_panel.motors[int(motor)].runButtons[int(direction)];
}

bool LensActions::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::WindowDeactivate) {
            releaseAll();
        } else if (event->type() == QEvent::Close) {
            // No motor runs on after the window: the driver goes with it.
            stopAll();
        }
    }
    return QObject::eventFilter(watched, event);
}
