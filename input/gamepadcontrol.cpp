#include "gamepadcontrol.h"

#include "gamepadpoller.h"
#include "operationmonitor.h"

#include <QLabel>
#include <QStatusBar>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

using Motor = LensActions::Motor;
using Direction = LensActions::Direction;

// How far a control is pushed, 0 to 1: a button down is all the way.
float amountOf(const PadLayout &layout, PadAction action, const PadState &state)
{
    const int control = layout.control(action);
    return control == noPadControl ? 0 : std::max(0.0f, state[control]);
}

} // namespace

GamepadControl::GamepadControl(QWidget *window, LensActions &actions, OperationMonitor &monitor,
                               QStatusBar *statusBar, const PadLayout &layout, const QStringList &mappingFiles)
    : m_window(window)
    , m_actions(actions)
    , m_monitor(monitor)
    , m_status(new QLabel(statusBar))
    , m_layout(layout)
{
    statusBar->addPermanentWidget(m_status);
    m_status->hide();
    // A child of the window, gone with it.
    auto *poller = new GamepadPoller(mappingFiles, window);
    connect(poller, &GamepadPoller::padConnected, this, &GamepadControl::connected);
    connect(poller, &GamepadPoller::padDisconnected, this, &GamepadControl::disconnected);
    connect(poller, &GamepadPoller::padRead, this, &GamepadControl::read);
}

void GamepadControl::setLayout(const PadLayout &layout)
{
    m_layout = layout;
    restart();
}

bool GamepadControl::isPadConnected() const
{
    return m_connected;
}

void GamepadControl::captureNext(bool axes, std::function<void(int control)> done)
{
    m_capture = std::move(done);
    m_captureAxes = axes;
    for (int control = 0; control < padControlCount; ++control)
        m_restedSinceAsked[control] = std::abs(m_state[control]) <= 0.5f;
    // No motor runs on while the pad is listened to.
    m_actions.releaseAll(this);
}

void GamepadControl::cancelCapture()
{
    if (m_capture) {
        m_capture = nullptr;
        restart();
    }
}

void GamepadControl::restart()
{
    m_actions.releaseAll(this);
    for (MotorHold &hold : m_holds)
        hold.hold = Hold::Waiting;
    m_pressed.fill(true);
}

void GamepadControl::connected(const QString &name)
{
    m_connected = true;
    m_status->setText(tr("Gamepad: %1").arg(name));
    m_status->show();
    // A pad taken with a stick pushed or a button down: that acts once it has
    // come back.
    for (MotorHold &hold : m_holds)
        hold.hold = Hold::Waiting;
    m_pressed.fill(true);
}

void GamepadControl::disconnected()
{
    m_connected = false;
    m_status->hide();
    m_status->clear();
    m_actions.releaseAll(this);
    m_holds = {};
    if (const auto done = std::exchange(m_capture, nullptr))
        done(noPadControl);
}

void GamepadControl::read(const PadState &state)
{
    m_state = state;
    if (m_capture) {
        capture(state);
        return;
    }
    // Asked afresh after each action: one may have begun an operation.
    const auto canAct = [this] { return !m_monitor.isRunning() && m_window->isActiveWindow(); };
    for (const Motor motor : {Motor::Zoom, Motor::Focus, Motor::Iris})
        drive(motor, canAct());
    for (int index = int(PadAction::ZoomPlus); index < padActionCount; ++index) {
        const auto action = PadAction(index);
        const bool down = m_layout.isDown(action, m_state);
        const bool pressed = down && !m_pressed[index];
        m_pressed[index] = down;
        if (!pressed || !canAct())
            continue;
        if (action >= PadAction::Preset1 && action <= PadAction::Preset10)
            m_actions.callPreset(index - int(PadAction::Preset1) + 1);
        else if (action == PadAction::Refresh)
            m_actions.refresh();
        else
            m_actions.step(action <= PadAction::ZoomMinus ? Motor::Zoom : Motor::Focus,
                           action == PadAction::ZoomPlus || action == PadAction::FocusPlus ? 1 : -1);
    }
}

void GamepadControl::capture(const PadState &state)
{
    for (int control = 0; control < padControlCount; ++control) {
        const bool wanted = m_captureAxes ? isPadAxis(control) : !isPadAxis(control) || isPadTrigger(control);
        const bool pushed = std::abs(state[control]) > 0.5f;
        if (!wanted)
            continue;
        if (!pushed) {
            m_restedSinceAsked[control] = true;
        } else if (m_restedSinceAsked[control]) {
            const auto done = std::exchange(m_capture, nullptr);
            restart();
            done(control);
            return;
        }
    }
}

void GamepadControl::drive(Motor motor, bool canAct)
{
    float deflection = 0;
    bool bySpeed = true;
    if (motor == Motor::Zoom) {
        deflection = m_layout.deflection(PadAction::Zoom, m_state);
    } else if (motor == Motor::Focus) {
        deflection = m_layout.deflection(PadAction::Focus, m_state);
    } else {
        deflection = m_layout.deflection(PadAction::Iris, m_state)
            + amountOf(m_layout, PadAction::IrisOpen, m_state) - amountOf(m_layout, PadAction::IrisClose, m_state);
        bySpeed = false;
    }
    const int band = m_layout.band(deflection);
    const Direction direction = deflection > 0 ? Direction::TowardsMaximum : Direction::TowardsZero;
    MotorHold &hold = m_holds[int(motor)];
    // Its run was ended some other way: STOP, the window deactivated.
    if (hold.hold == Hold::Running && canAct && m_actions.holder(motor) != this)
        hold.hold = Hold::Waiting;
    // Back to rest, or over to the other side: the run ends as with STOP.
    if (hold.hold == Hold::Running && (band < 0 || hold.direction != direction)) {
        hold.hold = Hold::Rest;
        m_actions.release(motor, this);
    }
    if (band < 0) {
        hold.hold = Hold::Rest;
    } else if (!canAct) {
        // A band change waits; a push while the pad cannot act counts only
        // once the stick has come back.
        if (hold.hold == Hold::Rest)
            hold.hold = Hold::Waiting;
    } else if (hold.hold == Hold::Rest || (hold.hold == Hold::Running && hold.band != band)) {
        hold = {Hold::Running, direction, band};
        if (!m_actions.run(motor, direction, this, bySpeed ? std::optional<int>(band) : std::nullopt))
            hold.hold = Hold::Waiting;
    }
}
