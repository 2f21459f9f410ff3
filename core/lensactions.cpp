#include "lensactions.h"

#include "controller.h"
#include "controller_tavro.h"
#include "lensmotor.h"
#include "lenssession.h"
#include "motorrange.h"
#include "operationmonitor.h"
#include "operatorreport.h"
#include "portreport.h"

#include <QDebug>
#include <QEvent>
#include <QLocale>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

namespace {

// One iris slider unit is this many driver units.
constexpr int IrisUnitsPerStep = 55;

// The iris range the window offers, whatever the board reports.
constexpr int IrisSliderMaximum = 100;

// The board needs this long to take a position before the next command.
constexpr int SettleAfterMoveMs = 500;

// How long the status line tells what a timed call came to, beyond the move.
constexpr int ToldAfterMoveMs = 5000;

using Motor = LensActions::Motor;

LensAxis axisOf(Motor motor)
{
    return LensAxis(int(motor));
}

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
};

MotorWiring wiringOf(const LensPanel &panel, Motor motor)
{
    const LensPanel::MotorControls &c = panel.motors[int(motor)];
    const LensMotor &m = LensMotor::all()[size_t(motor)];
    switch (motor) {
    case Motor::Zoom:
        return {m, c.slider, c.field, {c.runButtons[0], c.runButtons[1]}, {c.stepButtons[0], c.stepButtons[1]}, 1,
                "motor1SliderChanged()", "motor1LineEditChanged()"};
    case Motor::Focus:
        return {m, c.slider, c.field, {c.runButtons[0], c.runButtons[1]}, {c.stepButtons[0], c.stepButtons[1]}, 1,
                "motor2SliderChanged()", "motor2LineEditChanged()"};
    case Motor::Iris:
        break;
    }
    return {m, c.slider, c.field, {c.runButtons[0], c.runButtons[1]}, {c.stepButtons[0], c.stepButtons[1]},
            IrisUnitsPerStep, nullptr, nullptr};
}

constexpr Motor kMotors[] = {Motor::Zoom, Motor::Focus, Motor::Iris};

const LensMotor &motorOf(Motor motor)
{
    return LensMotor::all()[size_t(motor)];
}

SessionRequest requestOf(SessionRequest::Kind kind, Motor motor)
{
    SessionRequest request;
    request.kind = kind;
    request.motor = &motorOf(motor);
    return request;
}

// What the window reads for its own display, in the order it reads.
struct Readings
{
    std::array<int, 3> positions{-1, -1, -1};
    std::array<int, 3> maxima{-1, -1, -1};
};

// One read of the window's, as the display rules want the answer: -1 for a
// read that failed, whatever the driver handed back. The session learns it
// too when the board answered.
int readInto(Controller &driver, SessionDriver::Done &done, int (Controller::*query)(), std::optional<int> &known)
{
    const int value = (driver.*query)();
    const Outcome outcome = driver.takeOutcome();
    if (outcome.ok()) {
        known = value;
        return value;
    }
    if (done.result.done())
        done.result = SessionResult::failure(outcome, true);
    return -1;
}

// A typed position: negative numbers count as 0 and what is beyond the
// board's maximum as the maximum; the field then shows what is sent. One
// beyond a soft limit goes too, for the session to refuse: the slider ends at
// the limit meanwhile. Text that is not a number (or too large for one) sends
// nothing: the field goes back to shown. Returns the position to be sent, on
// the slider's scale.
std::optional<int> takeTypedPosition(QSlider *slider, QLineEdit *lineEdit, int maximum, int shown)
{
    QSignalBlocker blocker(slider);
    bool ok = false;
    const int typed = lineEdit->text().toInt(&ok, 10);
    if (!ok) {
        qDebug() << "wrong input";
        lineEdit->setText(QString::number(shown));
        return std::nullopt;
    }
    slider->setFocus();
    const int position = std::clamp(typed, 0, maximum);
    slider->setValue(position);
    lineEdit->setText(QString::number(position));
    blocker.unblock();
    return position;
}

} // namespace

LensActions::LensActions(QWidget *window, const LensPanel &panel, OperationMonitor &monitor)
    : m_window(window)
    , m_panel(panel)
    , m_monitor(monitor)
{
    m_window->installEventFilter(this);
    for (const Motor motor : kMotors)
        m_boardMaxima[size_t(motor)] = panel.motors[size_t(motor)].slider->maximum();
    connect(&m_units, &LensUnits::profileChanged, this, [this] {
        if (m_session)
            m_session->setProfile(m_units.profile());
        for (const Motor motor : kMotors)
            applyRange(motor);
        // A profile without a focus curve ends the following.
        if (m_tracking)
            setTracking(true);
    });
}

LensActions::~LensActions() = default;

void LensActions::replaceSession(const SessionFactory &make, const std::function<void()> &ready)
{
    m_next = make;
    m_nextReady = ready;
    if (m_session)
        retire([] {});
    else if (!m_retiring)
        takeOver();
}

void LensActions::retire(const std::function<void()> &then)
{
    m_retiring = std::move(m_session);
    emit runsChanged();
    connect(m_retiring.get(), &LensSession::finished, this, [this, then] {
        // Once finished() has returned: the old driver is gone before
        // anything follows, a session waiting to take over among it.
        QMetaObject::invokeMethod(this, [this, then] {
            m_retiring.reset();
            then();
            takeOver();
        }, Qt::QueuedConnection);
    });
    m_retiring->shutdown();
}

void LensActions::takeOver()
{
    if (!m_next)
        return;
    m_session = std::exchange(m_next, {})();
    m_ownSpeed = {};
    m_panelSpeedOwed = {};
    if (m_session) {
        m_session->setLiveReads(m_liveReads);
        m_session->setProfile(m_units.profile());
        m_session->setTracking(m_tracking);
        connect(m_session.get(), &LensSession::runningChanged, this,
                [this](int motor, bool running) { runningChanged(Motor(motor), running); });
        connect(m_session.get(), &LensSession::liveRead, this,
                [this](int motor, int position) { showLive(Motor(motor), position); });
        // A port that failed is told of; live reads fail quietly.
        connect(m_session.get(), &LensSession::failed, this, [port = m_session->portName()](const SessionResult &result) {
            if (const auto box = PortReport::of(result.outcome, port, result.query))
                OperatorReport::show(box->severity, box->text, box->detail);
        });
    }
    if (const std::function<void()> ready = std::exchange(m_nextReady, {}))
        ready();
}

bool LensActions::isIdle() const
{
    return !m_monitor.isRunning() && !m_next && !m_retiring && (!m_session || !m_session->isWorking());
}

void LensActions::submit(const SessionRequest &request, const std::function<void(const SessionResult &)> &done)
{
    if (m_session)
        m_session->submit(request, done);
}

bool LensActions::operate(const QString &step, const SessionRequest &request,
                          const std::function<void(const SessionResult &)> &then)
{
    if (!m_session || !m_monitor.begin(step))
        return false;
    m_session->submit(request, [this, then](const SessionResult &result) {
        if (then)
            then(result);
        m_monitor.end();
    });
    return true;
}

bool LensActions::run(Motor motor, Direction direction, const QObject *holder, std::optional<int> speed)
{
    const MotorWiring w = wiringOf(m_panel, motor);
    if (!m_session || m_monitor.isRunning() || !w.runButtons[int(direction)]->isEnabled())
        return false;
    // First, as a click on the button would: a typed entry that loses the
    // focus goes out ahead of the run.
    w.slider->setFocus();
    SessionRequest request = requestOf(SessionRequest::Kind::Run, motor);
    request.direction = int(direction);
    request.holder = holder;
    const bool ownSpeed = speed && w.motor.setSpeed;
    if (ownSpeed)
        request.speed = *speed;
    else
        givePanelSpeed(motor);
    m_ownSpeed[int(motor)] = ownSpeed || m_ownSpeed[int(motor)];
    submit(request);
    return true;
}

void LensActions::stop(Motor motor)
{
    if (!m_session)
        return;
    LensSession *session = m_session.get();
    submit(requestOf(SessionRequest::Kind::Stop, motor), [this, session, motor](const SessionResult &result) {
        const std::optional<int> position = session->position(motorOf(motor));
        // A failed focus read shows the focus at 0; the others leave the display.
        if (motor == Motor::Focus && (result.done() || result.query))
            showPosition(motor, result.done() && position ? qMax(0, *position) : 0);
        else if (result.done() && position)
            showReadBack(motor, *position);
    });
    wiringOf(m_panel, motor).slider->setFocus();
}

void LensActions::runningChanged(Motor motor, bool running)
{
    // Calibrated or stopped, a run's own speed gives way to the panel's.
    if (!running && std::exchange(m_ownSpeed[int(motor)], false))
        setPanelSpeed(motor);
    emit runsChanged();
}

void LensActions::release(Motor motor, const QObject *holder)
{
    if (m_session && holder)
        m_session->release(motorOf(motor), holder);
}

void LensActions::releaseAll(const QObject *holder)
{
    if (m_session)
        m_session->releaseAll(holder);
}

const QObject *LensActions::holder(Motor motor) const
{
    return m_session ? static_cast<const QObject *>(m_session->holder(motorOf(motor))) : nullptr;
}

QList<LensActions::Motor> LensActions::runningMotors() const
{
    QList<Motor> running;
    for (const Motor motor : kMotors) {
        if (m_session && m_session->isRunning(motorOf(motor)))
            running << motor;
    }
    return running;
}

void LensActions::stopAll()
{
    if (!m_session)
        return;
    // A run still on its way is stopped too: every motor of the board then.
    const bool onItsWay = m_session->isWorking();
    for (const Motor motor : kMotors) {
        if (m_session->isRunning(motorOf(motor)) || (onItsWay && motorOf(motor).isOn(m_session->board())))
            stop(motor);
    }
}

void LensActions::setPanelSpeeds(int zoom, int focus)
{
    m_panelSpeeds = {zoom, focus, 0};
    m_panelSpeedOwed = {};
}

void LensActions::owePanelSpeeds()
{
    m_panelSpeedOwed[int(Motor::Zoom)] = true;
    m_panelSpeedOwed[int(Motor::Focus)] = true;
}

void LensActions::setPanelSpeed(Motor motor)
{
    m_panelSpeedOwed[int(motor)] = false;
    if (!motorOf(motor).setSpeed)
        return;
    SessionRequest request = requestOf(SessionRequest::Kind::Speed, motor);
    request.speed = m_panelSpeeds[int(motor)];
    submit(request);
}

void LensActions::givePanelSpeed(Motor motor)
{
    if (m_panelSpeedOwed[int(motor)])
        setPanelSpeed(motor);
}

void LensActions::sendSlider(Motor motor)
{
    if (!m_session)
        return;
    const MotorWiring w = wiringOf(m_panel, motor);
    m_inHand[int(motor)] = false;
    if (w.sliderLine)
        qDebug() << w.sliderLine;
    {
        const QSignalBlocker blocker(w.lineEdit);
        w.lineEdit->setText(QString::number(w.slider->value()));
    }
    const std::optional<int> shown = m_units.position(axisOf(motor));
    const int counts = rangeOf(motor).countsOf(w.slider->value());
    m_units.setPosition(axisOf(motor), counts);
    givePanelSpeed(motor);
    SessionRequest request = requestOf(SessionRequest::Kind::Goto, motor);
    request.value = counts;
    request.exact = true;
    request.settleMs = SettleAfterMoveMs;
    goTo(motor, request, shown);
}

void LensActions::sendTyped(Motor motor)
{
    if (!m_session)
        return;
    const MotorWiring w = wiringOf(m_panel, motor);
    if (w.lineEditLine)
        qDebug() << w.lineEditLine;
    if (const std::optional<LensValue> typed = LensValue::parse(w.lineEdit->text(), m_window->locale());
        typed && typed->unit != LensValue::Unit::Counts) {
        sendInUnits(motor, *typed);
        return;
    }
    const std::optional<int> position =
        takeTypedPosition(w.slider, w.lineEdit, m_boardMaxima[size_t(motor)], fieldPosition(motor));
    if (!position)
        return;
    if (motor == Motor::Zoom)
        qDebug() << "all digits";
    const std::optional<int> shown = m_units.position(axisOf(motor));
    const int counts = rangeOf(motor).countsOf(*position);
    m_units.setPosition(axisOf(motor), counts);
    givePanelSpeed(motor);
    SessionRequest request = requestOf(SessionRequest::Kind::Goto, motor);
    request.value = counts;
    request.exact = true;
    goTo(motor, request, shown);
}

void LensActions::sendInUnits(Motor motor, const LensValue &value)
{
    static const char *const refusals[] = {
        QT_TR_NOOP("The zoom does not move to %1: %2."),
        QT_TR_NOOP("The focus does not move to %1: %2."),
        QT_TR_NOOP("The iris does not move to %1: %2."),
    };
    const MotorWiring w = wiringOf(m_panel, motor);
    LensUnits::Target target = m_units.target(axisOf(motor), value);
    const QString typed = w.lineEdit->text().trimmed();
    // Unlike a typed count, a value is not taken to the end of the range: a
    // move there would show, and leave the lens at, a value not asked for.
    const int highest = m_boardMaxima[size_t(motor)] * w.unitsPerStep;
    if (target.position && (*target.position < 0 || *target.position > highest))
        target = {std::nullopt, tr("the profile puts it at %1, beyond the board's range 0 to %2").arg(*target.position).arg(highest)};
    else if (const std::optional<int> limit = target.position ? rangeOf(motor).crossedLimit(*target.position) : std::nullopt)
        target = {std::nullopt, tr("the profile puts it at %1, beyond the lens profile's limit %2").arg(*target.position).arg(*limit)};
    // The slider takes the focus before the field shows a number again: a
    // field that lost the focus with new text would finish its entry anew,
    // and send.
    {
        const QSignalBlocker blocker(w.slider);
        w.slider->setFocus();
        if (target.position)
            w.slider->setValue(qRound(double(*target.position) / w.unitsPerStep));
        w.lineEdit->setText(QString::number(target.position ? w.slider->value() : fieldPosition(motor)));
    }
    if (!target.position) {
        qWarning() << "Typed value not sent:" << typed << target.problem;
        OperatorReport::show(OperatorReport::Severity::Warning,
                             tr(refusals[int(motor)]).arg(typed, target.problem));
        return;
    }
    const std::optional<int> shown = m_units.position(axisOf(motor));
    m_units.setPosition(axisOf(motor), *target.position);
    givePanelSpeed(motor);
    SessionRequest request = requestOf(SessionRequest::Kind::Goto, motor);
    request.value = *target.position;
    request.exact = true;
    goTo(motor, request, shown);
}

void LensActions::goTo(Motor motor, const SessionRequest &request, std::optional<int> shown)
{
    static const char *const refusals[] = {
        QT_TR_NOOP("The zoom stays within the lens profile's limit %1."),
        QT_TR_NOOP("The focus stays within the lens profile's limit %1."),
        QT_TR_NOOP("The iris stays within the lens profile's limit %1."),
    };
    LensSession *session = m_session.get();
    submit(request, [this, session, motor, shown](const SessionResult &result) {
        if (result.kind != SessionResult::Kind::BeyondLimit || session != m_session.get())
            return;
        qWarning() << "Goto beyond the lens profile's limit" << result.value;
        // Back to what was shown before: the last move's target, or a later
        // read. The session's last read can be older than the last move,
        // whose end is not read with live reads off.
        if (const std::optional<int> position = shown ? shown : session->position(motorOf(motor)))
            showReadBack(motor, *position);
        OperatorReport::show(OperatorReport::Severity::Warning, tr(refusals[int(motor)]).arg(result.value));
    });
}

// A step is a hundredth of the range, the same size in both directions; the
// slider clamps at the ends. The slider stays where it is when the send
// could not go.
void LensActions::step(Motor motor, int direction)
{
    const MotorWiring w = wiringOf(m_panel, motor);
    if (!m_session || m_monitor.isRunning() || !w.stepButtons[direction > 0]->isEnabled())
        return;
    QSlider *slider = w.slider;
    slider->setValue(slider->value() + direction * MotorRange::stepOf(slider->minimum(), slider->maximum()));
    sendSlider(motor);
}

void LensActions::setSliderInHand(Motor motor, bool inHand)
{
    m_inHand[int(motor)] = inHand;
}

// The preset number travels as the number itself (1..10), not as a digit.
bool LensActions::callPreset(int preset)
{
    if (!m_session || m_monitor.isRunning() || !presetEnabled(QStringLiteral("pb_callPreset%1"), preset))
        return false;
    const PresetSpeed speed = presetSpeed(preset);
    const double seconds = presetSeconds(preset);
    SessionRequest request;
    request.kind = SessionRequest::Kind::PresetCall;
    request.value = preset;
    request.exact = true;
    request.seconds = seconds;
    // A timed call steers the speed levels itself, and leaves the panel's.
    if (speed == PresetSpeed::Panel || seconds > 0) {
        givePanelSpeed(Motor::Zoom);
        givePanelSpeed(Motor::Focus);
    } else {
        request.speed = int(speed) - 1;
        m_panelSpeedOwed[int(Motor::Zoom)] = true;
        m_panelSpeedOwed[int(Motor::Focus)] = true;
    }
    LensSession *session = m_session.get();
    submit(request, [this, session, preset, seconds](const SessionResult &result) {
        if (session == m_session.get())
            tellCall(preset, seconds, result);
    });
    return true;
}

void LensActions::tellCall(int preset, double seconds, const SessionResult &result)
{
    const QLocale locale = m_window->locale();
    if (result.kind == SessionResult::Kind::Unmeasured) {
        qWarning() << "Preset" << preset << "not recalled in" << seconds << "s: no measured speeds";
        OperatorReport::show(OperatorReport::Severity::Warning,
                             m_units.profile()
                                 ? tr("Preset %1 is not recalled in %2 s: the lens profile in use has no measured "
                                      "speeds of the motors. Measure them with Lens ▸ Measure speeds… first.")
                                       .arg(preset)
                                       .arg(locale.toString(seconds))
                                 : tr("Preset %1 is not recalled in %2 s: a recall time needs a lens profile with "
                                      "the motors' measured speeds, and no profile is in use (Lens ▸ Profile…).")
                                       .arg(preset)
                                       .arg(locale.toString(seconds)));
        return;
    }
    QStringList text;
    int timeoutMs = ToldAfterMoveMs * 2;
    if (result.boardsOwn) {
        text << tr("Preset %1 was recalled at the board's own speed: it was never stored from this computer.")
                    .arg(preset);
    } else if (result.done() && seconds > 0) {
        timeoutMs = int(result.seconds * 1000) + ToldAfterMoveMs;
        const QString taken = locale.toString(result.seconds, 'f', 1);
        text << (result.lengthened
                     ? tr("Preset %1 takes %2 s: the motors cannot make it sooner.").arg(preset).arg(taken)
                     : tr("Preset %1 arrives in %2 s.").arg(preset).arg(taken));
    }
    const QString limits = recalledToLimits(preset, result);
    if (!limits.isEmpty())
        text << limits;
    if (!text.isEmpty())
        emit told(text.join(QLatin1Char(' ')), timeoutMs);
}

QString LensActions::recalledToLimits(int preset, const SessionResult &result)
{
    static const char *const limitsOf[] = {
        QT_TR_NOOP("the zoom's limit %1"),
        QT_TR_NOOP("the focus's limit %1"),
        QT_TR_NOOP("the iris's limit %1"),
    };
    // Told once: again only once the preset has come within the limits, or
    // to others, or been stored anew.
    if (!result.done() || std::exchange(m_toldLimits[size_t(preset - 1)], result.recalledToLimit) == result.recalledToLimit)
        return QString();
    QStringList crossed;
    for (const Motor motor : kMotors) {
        if (const std::optional<int> limit = result.recalledToLimit[size_t(motor)])
            crossed << tr(limitsOf[int(motor)]).arg(*limit);
    }
    switch (crossed.size()) {
    case 0:
        return QString();
    case 1:
        return tr("Preset %1 lies beyond %2: it was recalled to the limit.").arg(preset).arg(crossed[0]);
    case 2:
        return tr("Preset %1 lies beyond %2: it was recalled to the limits.")
            .arg(preset)
            .arg(tr("%1 and %2", "two limits").arg(crossed[0], crossed[1]));
    }
    return tr("Preset %1 lies beyond %2: it was recalled to the limits.")
        .arg(preset)
        .arg(tr("%1, %2 and %3", "three limits").arg(crossed[0], crossed[1], crossed[2]));
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

double LensActions::presetSeconds(int preset) const
{
    return preset >= 1 && preset <= presetCount ? m_presetSeconds[size_t(preset - 1)] : 0;
}

void LensActions::setPresetSeconds(int preset, double seconds)
{
    if (preset >= 1 && preset <= presetCount)
        m_presetSeconds[size_t(preset - 1)] = std::max(0.0, seconds);
}

bool LensActions::storePreset(int preset)
{
    if (!presetEnabled(QStringLiteral("pb_storePreset%1"), preset))
        return false;
    SessionRequest request;
    request.kind = SessionRequest::Kind::PresetStore;
    request.value = preset;
    request.exact = true;
    return operate(tr("Storing preset %1…").arg(preset), request, [this, preset](const SessionResult &result) {
        // A preset stored anew is told of anew.
        if (result.done())
            m_toldLimits[size_t(preset - 1)] = {};
    });
}

bool LensActions::presetEnabled(const QString &button, int preset) const
{
    const auto *pushButton = m_window->findChild<QPushButton *>(button.arg(preset));
    return pushButton && pushButton->isEnabled();
}

bool LensActions::refresh()
{
    if (!m_panel.refresh->isEnabled() || !m_session || !m_monitor.begin(tr("Reading the positions…")))
        return false;
    auto readings = std::make_shared<Readings>();
    m_session->submitWork([readings](Controller &driver, SessionDriver::Done &done) {
        std::array<int, 3> &p = readings->positions;
        p[1] = readInto(driver, done, &Controller::getFocusPosition, done.positions[1]);
        p[0] = readInto(driver, done, &Controller::getZoomPosition, done.positions[0]);
        p[2] = readInto(driver, done, &Controller::getIrisPosition, done.positions[2]);
    }, [this, readings](const SessionResult &) {
        const std::array<int, 3> &p = readings->positions;
        if (p[1] >= 0)
            showPosition(Motor::Focus, p[1]);
        if (p[0] >= 0)
            showPosition(Motor::Zoom, p[0]);
        showReadBack(Motor::Iris, p[2]);
        m_monitor.end();
    });
    return true;
}

void LensActions::storeInDevice()
{
    SessionRequest request;
    request.kind = SessionRequest::Kind::Store;
    operate(tr("Storing in the board…"), request);
}

void LensActions::calibrateAll()
{
    if (!m_session) {
        qDebug() << "comm not set";
        return;
    }
    SessionRequest request;
    request.kind = SessionRequest::Kind::Calibrate;
    request.exact = true;
    // Whichever the board, the window gives it the Tavro board's calibration
    // time before it reads the new positions.
    request.waitMs = int(ControllerTavro::calibrationMs);
    if (!m_monitor.begin(tr("Calibrating…")))
        return;
    m_session->submit(request, [this](const SessionResult &) {
        m_monitor.setStep(tr("Reading the positions…"));
        readPositionsAndRanges(Reads::All, [this] { m_monitor.end(); });
    });
}

void LensActions::readPositionsAndRanges(Reads reads, const std::function<void()> &then)
{
    if (!m_session) {
        then();
        return;
    }
    auto readings = std::make_shared<Readings>();
    m_session->submitWork([readings, reads](Controller &driver, SessionDriver::Done &done) {
        std::array<int, 3> &p = readings->positions;
        std::array<int, 3> &m = readings->maxima;
        if (reads == Reads::Focus) {
            p[1] = readInto(driver, done, &Controller::getFocusPosition, done.positions[1]);
            m[1] = readInto(driver, done, &Controller::getMaxFocusPosition, done.maxima[1]);
            return;
        }
        p[0] = readInto(driver, done, &Controller::getZoomPosition, done.positions[0]);
        p[1] = readInto(driver, done, &Controller::getFocusPosition, done.positions[1]);
        p[2] = readInto(driver, done, &Controller::getIrisPosition, done.positions[2]);
        m[0] = readInto(driver, done, &Controller::getMaxZoomPosition, done.maxima[0]);
        m[1] = readInto(driver, done, &Controller::getMaxFocusPosition, done.maxima[1]);
    }, [this, readings, reads, then](const SessionResult &) {
        const std::array<int, 3> &p = readings->positions;
        const std::array<int, 3> &m = readings->maxima;
        // A failed maximum read keeps the range and display the motor had.
        for (const Motor motor : {Motor::Zoom, Motor::Focus}) {
            if ((reads == Reads::All || motor == Motor::Focus) && m[int(motor)] >= 0) {
                m_boardMaxima[size_t(motor)] = m[int(motor)];
                applyRange(motor);
                showPosition(motor, p[int(motor)]);
            }
        }
        if (reads == Reads::All) {
            m_boardMaxima[size_t(Motor::Iris)] = IrisSliderMaximum;
            applyRange(Motor::Iris);
            showReadBack(Motor::Iris, p[2]);
        }
        then();
    });
}

void LensActions::showPosition(Motor motor, int position)
{
    show(motor, position, position * wiringOf(m_panel, motor).unitsPerStep);
}

void LensActions::show(Motor motor, int position, int counts)
{
    const MotorWiring w = wiringOf(m_panel, motor);
    // The field keeps the number as read; only the slider is held to its range.
    w.lineEdit->setText(QString::number(position));
    w.slider->setValue(position);
    m_units.setPosition(axisOf(motor), counts);
}

MotorRange LensActions::rangeOf(Motor motor) const
{
    const LensProfile *profile = m_units.profile().get();
    return {m_boardMaxima[size_t(motor)], wiringOf(m_panel, motor).unitsPerStep,
            profile ? profile->data().limits[size_t(motor)] : std::nullopt};
}

void LensActions::applyRange(Motor motor)
{
    const MotorWiring w = wiringOf(m_panel, motor);
    const MotorRange range = rangeOf(motor);
    // A new range moves no motor: only the operator's moves of a slider go
    // out, never a value the program sets.
    w.slider->setRange(range.sliderMinimum(), range.sliderMaximum());
    // The slider where the motor was shown, or at the end nearest it; the
    // field keeps the number.
    if (const std::optional<int> counts = m_units.position(axisOf(motor)))
        w.slider->setValue(*counts / w.unitsPerStep);
}

int LensActions::fieldPosition(Motor motor) const
{
    const MotorWiring w = wiringOf(m_panel, motor);
    const std::optional<int> counts = m_units.position(axisOf(motor));
    const int shown = counts ? *counts / w.unitsPerStep : w.slider->value();
    return shown < w.slider->minimum() || shown > w.slider->maximum() ? shown : w.slider->value();
}

void LensActions::showReadBack(Motor motor, int driverUnits)
{
    // Tested before dividing: a failed iris read (-1) would otherwise show as 0.
    if (driverUnits >= 0)
        show(motor, driverUnits / wiringOf(m_panel, motor).unitsPerStep, driverUnits);
}

void LensActions::showLive(Motor motor, int driverUnits)
{
    const MotorWiring w = wiringOf(m_panel, motor);
    // Left alone while the operator has the slider or the field in hand.
    if (!m_inHand[int(motor)] && !w.slider->isSliderDown() && !w.lineEdit->hasFocus())
        showReadBack(motor, driverUnits);
}

void LensActions::setLiveReads(bool on)
{
    m_liveReads = on;
    if (m_session)
        m_session->setLiveReads(on);
}

void LensActions::setTracking(bool on)
{
    const LensProfile *profile = m_units.profile().get();
    if (on && !(profile && profile->hasTable(LensAxis::Focus))) {
        m_tracking = false;
        if (m_session)
            m_session->setTracking(false);
        qWarning() << "The focus does not follow the zoom: no focus curve in the lens profile";
        OperatorReport::show(OperatorReport::Severity::Warning,
                             profile ? tr("The focus cannot follow the zoom: the lens profile in use has no focus "
                                          "curve. Lens ▸ Profile… adds one.")
                                     : tr("The focus cannot follow the zoom: no lens profile is in use. "
                                          "Lens ▸ Profile… makes one with a focus curve."));
        emit trackingEnded();
        return;
    }
    m_tracking = on;
    if (m_session)
        m_session->setTracking(on);
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
        } else if (event->type() == QEvent::Close && (m_session || m_retiring)) {
            // No motor runs on after the window, and nothing still waiting
            // goes out: it closes once the session has stopped the motors it
            // ran, a run still on its way among them, however often it is
            // asked to close meanwhile.
            event->ignore();
            if (m_session)
                retire([this] { m_window->close(); });
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
