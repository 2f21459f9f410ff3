#include "sliderinput.h"

#include "motorrange.h"
#include "operationmonitor.h"

#include <QKeyEvent>
#include <QSlider>
#include <QWheelEvent>

namespace {

// One notch of a common mouse wheel, in eighths of a degree.
constexpr int kNotch = 120;
constexpr int kStepsPerPage = 10;

} // namespace

SliderInput::SliderInput(LensActions &actions, LensActions::Motor motor, OperationMonitor &monitor)
    : m_actions(actions)
    , m_motor(motor)
    , m_slider(actions.slider(motor))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMs);
    connect(&m_settle, &QTimer::timeout, this, &SliderInput::settle);
    connect(m_slider, &QAbstractSlider::rangeChanged, this, &SliderInput::setSteps);
    // The operator's own moves only: setValue() triggers no action.
    connect(m_slider, &QAbstractSlider::actionTriggered, this, &SliderInput::moved);
    // A press on the handle (or a click the style turns into a jump of the
    // handle) goes out at its release.
    connect(m_slider, &QAbstractSlider::sliderPressed, this, [this] {
        m_pending = false;
        m_settle.stop();
    });
    // A release the window did not take while busy still counts as let go.
    connect(&monitor, &OperationMonitor::inputDropped, this, [this](QObject *receiver, QEvent *event) {
        if (receiver == m_slider && track(*event))
            letGo();
    });
    m_slider->installEventFilter(this);
    setSteps();
}

QList<QPair<QString, QString>> SliderInput::keyList()
{
    return {
        {tr("Left, Right, Up, Down"), tr("On a slider: a step of a hundredth of the range")},
        {tr("Page Up, Page Down"), tr("On a slider: ten steps")},
        {tr("Home, End"), tr("On a slider: to either end")},
        {tr("Mouse wheel"), tr("Over a slider: a step per notch")},
        {QString(), tr("A slider's new position goes out %1 ms after the last step, once the key is let go.")
                        .arg(settleMs)},
    };
}

void SliderInput::setSteps()
{
    const int step = MotorRange::stepOf(m_slider->minimum(), m_slider->maximum());
    m_slider->setSingleStep(step);
    m_slider->setPageStep(kStepsPerPage * step);
}

void SliderInput::moved()
{
    // A handle being dragged goes out at its release.
    if (m_slider->isSliderDown())
        return;
    m_pending = true;
    m_actions.setSliderInHand(m_motor, true);
    m_settle.start();
}

void SliderInput::settle()
{
    // Not while a key or button is still held: the move goes on.
    if (!m_pending || !m_keysDown.isEmpty() || m_buttonDown)
        return;
    m_pending = false;
    m_actions.sendSlider(m_motor);
}

void SliderInput::letGo()
{
    if (m_pending)
        m_settle.start();
}

bool SliderInput::track(const QEvent &event)
{
    switch (event.type()) {
    case QEvent::KeyPress: {
        const auto &key = static_cast<const QKeyEvent &>(event);
        if (!key.isAutoRepeat())
            m_keysDown.insert(key.key());
        return false;
    }
    case QEvent::KeyRelease: {
        const auto &key = static_cast<const QKeyEvent &>(event);
        return !key.isAutoRepeat() && m_keysDown.remove(key.key());
    }
    case QEvent::MouseButtonPress:
        m_buttonDown = true;
        return false;
    case QEvent::MouseButtonRelease:
        m_buttonDown = false;
        return true;
    // A release that goes to another widget or window never comes here.
    case QEvent::FocusOut:
    case QEvent::Hide:
    case QEvent::EnabledChange:
        m_keysDown.clear();
        m_buttonDown = false;
        return true;
    default:
        return false;
    }
}

void SliderInput::wheel(const QWheelEvent &wheel)
{
    int delta = wheel.angleDelta().y() != 0 ? wheel.angleDelta().y() : wheel.angleDelta().x();
    if (wheel.inverted())
        delta = -delta;
    m_wheelRest += delta;
    const int steps = m_wheelRest / kNotch;
    m_wheelRest -= steps * kNotch;
    for (int i = 0; i < qAbs(steps); ++i)
        m_slider->triggerAction(steps > 0 ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderSingleStepSub);
}

bool SliderInput::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_slider)
        return false;
    if (event->type() == QEvent::Wheel) {
        if (!m_slider->isEnabled())
            return false;
        wheel(static_cast<const QWheelEvent &>(*event));
        return true;
    }
    if (track(*event))
        letGo();
    return false;
}
