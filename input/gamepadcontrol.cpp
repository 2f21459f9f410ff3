#include "gamepadcontrol.h"

#include "operationmonitor.h"

#include <QLabel>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QWidget>

#include <cmath>
#include <optional>

namespace {

using Motor = LensActions::Motor;
using Direction = LensActions::Direction;

enum class PadAction {
    // A stick: its motor runs while it is out of the dead zone, up towards the
    // motor's maximum, at the speed level of its deflection.
    Run,
    // A button held runs its motor, towards the maximum for +1.
    Hold,
    // A press calls a preset, steps a motor (+1 up, -1 down) or refreshes.
    Preset,
    Step,
    Refresh,
};

struct PadBinding
{
    PadControl control;
    const char *name;
    PadAction action;
    Motor motor;
    // Hold and Step: the direction; Preset: the preset's number.
    int number;
    const char *what;
};

#define PAD_TEXT(text) QT_TRANSLATE_NOOP("GamepadControl", text)

const PadBinding kBindings[] = {
    {PadControl::LeftStickY, PAD_TEXT("Left stick up / down"), PadAction::Run, Motor::Zoom, 0,
     PAD_TEXT("Zoom tele / wide while pushed, the further the faster")},
    {PadControl::RightStickY, PAD_TEXT("Right stick up / down"), PadAction::Run, Motor::Focus, 0,
     PAD_TEXT("Focus far / near while pushed, the further the faster")},
    {PadControl::RightShoulder, PAD_TEXT("Right shoulder"), PadAction::Hold, Motor::Iris, 1,
     PAD_TEXT("Iris open while held")},
    {PadControl::LeftShoulder, PAD_TEXT("Left shoulder"), PadAction::Hold, Motor::Iris, -1,
     PAD_TEXT("Iris close while held")},
    {PadControl::A, PAD_TEXT("A"), PadAction::Preset, Motor::Zoom, 1, PAD_TEXT("Call preset 1")},
    {PadControl::B, PAD_TEXT("B"), PadAction::Preset, Motor::Zoom, 2, PAD_TEXT("Call preset 2")},
    {PadControl::X, PAD_TEXT("X"), PadAction::Preset, Motor::Zoom, 3, PAD_TEXT("Call preset 3")},
    {PadControl::Y, PAD_TEXT("Y"), PadAction::Preset, Motor::Zoom, 4, PAD_TEXT("Call preset 4")},
    {PadControl::DPadUp, PAD_TEXT("D-pad up"), PadAction::Step, Motor::Zoom, 1, PAD_TEXT("Zoom +")},
    {PadControl::DPadDown, PAD_TEXT("D-pad down"), PadAction::Step, Motor::Zoom, -1, PAD_TEXT("Zoom −")},
    {PadControl::DPadRight, PAD_TEXT("D-pad right"), PadAction::Step, Motor::Focus, 1, PAD_TEXT("Focus +")},
    {PadControl::DPadLeft, PAD_TEXT("D-pad left"), PadAction::Step, Motor::Focus, -1, PAD_TEXT("Focus −")},
    {PadControl::Start, PAD_TEXT("Start (Menu)"), PadAction::Refresh, Motor::Zoom, 0, PAD_TEXT("Refresh")},
};

// The speed level of a stick's deflection: low up to half its travel, medium
// up to 85 %, high beyond; -1 in the dead zone.
int bandOf(float deflection)
{
    const float amount = std::abs(deflection);
    if (amount <= GamepadControl::deadZone)
        return -1;
    return amount <= 0.5f ? 0 : amount <= 0.85f ? 1 : 2;
}

} // namespace

GamepadControl::GamepadControl(QWidget *window, LensActions &actions, OperationMonitor &monitor,
                               QStatusBar *statusBar)
    : m_window(window)
    , m_actions(actions)
    , m_monitor(monitor)
    , m_status(new QLabel(statusBar))
{
    statusBar->addPermanentWidget(m_status);
    m_status->hide();
    // A child of the window, gone with it.
    auto *poller = new GamepadPoller(window);
    connect(poller, &GamepadPoller::padConnected, this, &GamepadControl::connected);
    connect(poller, &GamepadPoller::padDisconnected, this, &GamepadControl::disconnected);
    connect(poller, &GamepadPoller::padRead, this, &GamepadControl::read);
}

QList<QPair<QString, QString>> GamepadControl::controlList()
{
    QList<QPair<QString, QString>> controls;
    for (const PadBinding &binding : kBindings)
        controls.append({tr(binding.name), tr(binding.what)});
    return controls;
}

void GamepadControl::connected(const QString &name)
{
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
    m_status->hide();
    m_status->clear();
    m_actions.releaseAll(this);
    m_holds = {};
}

void GamepadControl::read(const PadState &state)
{
    m_state = state;
    // A reading during one of the pad's own actions, or during a look at the
    // board the operator did not ask for (a live position), waits for the
    // next: neither is an operation a stick is held through.
    if (m_acting || m_monitor.isQuiet())
        return;
    // Asked afresh after each action, which lets the window's events through.
    const auto canAct = [this] { return !m_monitor.isRunning() && m_window->isActiveWindow(); };
    for (const Motor motor : {Motor::Zoom, Motor::Focus, Motor::Iris})
        drive(motor, canAct());
    for (const PadBinding &binding : kBindings) {
        const bool down = m_state[int(binding.control)] > 0.5f;
        const bool pressed = down && !m_pressed[int(binding.control)];
        m_pressed[int(binding.control)] = down;
        if (!pressed || !canAct())
            continue;
        const QScopedValueRollback<bool> acting(m_acting, true);
        if (binding.action == PadAction::Preset)
            m_actions.callPreset(binding.number);
        else if (binding.action == PadAction::Step)
            m_actions.step(binding.motor, binding.number);
        else if (binding.action == PadAction::Refresh)
            m_actions.refresh();
    }
}

void GamepadControl::drive(Motor motor, bool canAct)
{
    float deflection = 0;
    bool bySpeed = false;
    for (const PadBinding &binding : kBindings) {
        if (binding.motor != motor)
            continue;
        if (binding.action == PadAction::Run) {
            deflection += m_state[int(binding.control)];
            bySpeed = true;
        } else if (binding.action == PadAction::Hold) {
            deflection += binding.number * m_state[int(binding.control)];
        }
    }
    const int band = bandOf(deflection);
    const Direction direction = deflection > 0 ? Direction::TowardsMaximum : Direction::TowardsZero;
    MotorHold &hold = m_holds[int(motor)];
    const QScopedValueRollback<bool> acting(m_acting, true);
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
