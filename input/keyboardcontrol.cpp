#include "keyboardcontrol.h"

#include "operationmonitor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace {

using Motor = LensActions::Motor;
using Direction = LensActions::Direction;

// Held down with Ctrl, each runs a motor the way of its button until let go.
struct HoldKey
{
    Qt::Key key;
    Motor motor;
    Direction direction;
    const char *what;
};

const HoldKey kHoldKeys[] = {
    {Qt::Key_Up, Motor::Zoom, Direction::TowardsMaximum, QT_TRANSLATE_NOOP("KeyboardControl", "Zoom tele")},
    {Qt::Key_Down, Motor::Zoom, Direction::TowardsZero, QT_TRANSLATE_NOOP("KeyboardControl", "Zoom wide")},
    {Qt::Key_Right, Motor::Focus, Direction::TowardsMaximum, QT_TRANSLATE_NOOP("KeyboardControl", "Focus far")},
    {Qt::Key_Left, Motor::Focus, Direction::TowardsZero, QT_TRANSLATE_NOOP("KeyboardControl", "Focus near")},
    {Qt::Key_PageUp, Motor::Iris, Direction::TowardsMaximum, QT_TRANSLATE_NOOP("KeyboardControl", "Iris open")},
    {Qt::Key_PageDown, Motor::Iris, Direction::TowardsZero, QT_TRANSLATE_NOOP("KeyboardControl", "Iris close")},
};

constexpr int kPresets = 10;

const HoldKey *holdKeyOf(int key)
{
    for (const HoldKey &hold : kHoldKeys) {
        if (hold.key == key)
            return &hold;
    }
    return nullptr;
}

// 1..10 for F1..F10, else 0.
int presetOf(int key)
{
    return key >= Qt::Key_F1 && key < Qt::Key_F1 + kPresets ? key - Qt::Key_F1 + 1 : 0;
}

// Shift+F10 is also the keyboard's context-menu key: a focused widget with a
// menu of its own (a preset's Call button) opens that instead.
bool opensMenu(const QWidget &widget, const QKeyEvent &key)
{
    return key.key() == Qt::Key_F10 && widget.contextMenuPolicy() == Qt::CustomContextMenu;
}

QString keyName(QKeyCombination keys)
{
    return QKeySequence(keys).toString(QKeySequence::NativeText);
}

} // namespace

KeyboardControl::KeyboardControl(QWidget *window, LensActions &actions, OperationMonitor &monitor)
    : m_window(window)
    , m_actions(actions)
{
    // A run button's name tells the key that runs its motor while held, from
    // the same table as the Help menu's list.
    for (const HoldKey &hold : kHoldKeys) {
        QPushButton *button = actions.runButton(hold.motor, hold.direction);
        button->setAccessibleName(
            tr("%1 (hold %2)").arg(button->accessibleName(), keyName(Qt::ControlModifier | hold.key)));
    }
    // Ahead of every widget, so a focused field gives the keys up.
    qApp->installEventFilter(this);
    // A key let go while the window was busy still ends its run; a press
    // then is only ever the repeat of a key held.
    connect(&monitor, &OperationMonitor::inputDropped, this, [this](QObject *, QEvent *event) {
        if (event->type() == QEvent::KeyRelease)
            release(static_cast<const QKeyEvent &>(*event));
        else if (event->type() == QEvent::KeyPress)
            repeated(static_cast<const QKeyEvent &>(*event).key());
    });
}

QList<QPair<QString, QString>> KeyboardControl::keyList()
{
    QList<QPair<QString, QString>> keys;
    for (const HoldKey &hold : kHoldKeys)
        //: A key combination held down, such as Ctrl+Up.
        keys.append({tr("Hold %1").arg(keyName(Qt::ControlModifier | hold.key)), tr(hold.what)});
    //: A range of keys, such as F1 … F10.
    keys.append({tr("%1 … %2").arg(keyName(QKeyCombination(Qt::Key_F1)), keyName(QKeyCombination(Qt::Key_F10))),
                 tr("Call preset 1 … 10")});
    keys.append({tr("%1 … %2").arg(keyName(Qt::ShiftModifier | Qt::Key_F1), keyName(Qt::ShiftModifier | Qt::Key_F10)),
                 tr("Set preset 1 … 10")});
    keys.append({keyName(Qt::ControlModifier | Qt::Key_R), tr("Refresh")});
    return keys;
}

bool KeyboardControl::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        return press(watched, static_cast<const QKeyEvent &>(*event));
    case QEvent::KeyRelease:
        return release(static_cast<const QKeyEvent &>(*event));
    case QEvent::WindowDeactivate:
        // The releases go elsewhere now; the window ends the held runs.
        if (watched == m_window) {
            m_down.clear();
            m_held.clear();
            m_letGo.clear();
        }
        return false;
    default:
        return false;
    }
}

bool KeyboardControl::press(QObject *receiver, const QKeyEvent &key)
{
    // A key of the window's still down, or let go just now, is repeating;
    // without Ctrl it would step the slider that has the focus.
    if (repeated(key.key()) || m_down.contains(key.key()))
        return true;
    const auto *widget = qobject_cast<QWidget *>(receiver);
    if (!widget || widget->window() != m_window || !m_window->isActiveWindow())
        return false;
    if (key.isAutoRepeat())
        return takes(key);
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    bool taken = false;
    if (const HoldKey *hold = holdKeyOf(key.key()); hold && modifiers == Qt::ControlModifier) {
        // A second key for a motor held already starts nothing.
        if (m_actions.holder(hold->motor) != this && m_actions.run(hold->motor, hold->direction, this))
            m_held.insert(key.key(), hold->motor);
        taken = true;
    } else if (key.key() == Qt::Key_R && modifiers == Qt::ControlModifier) {
        taken = m_actions.refresh();
    } else if (const int preset = presetOf(key.key()); preset && modifiers == Qt::NoModifier) {
        taken = m_actions.callPreset(preset);
    } else if (preset && modifiers == Qt::ShiftModifier && !opensMenu(*widget, key)) {
        taken = m_actions.storePreset(preset);
    }
    if (taken)
        m_down.insert(key.key());
    return taken;
}

bool KeyboardControl::takes(const QKeyEvent &key)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier)
        return holdKeyOf(key.key()) || key.key() == Qt::Key_R;
    return presetOf(key.key()) && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier);
}

bool KeyboardControl::release(const QKeyEvent &key)
{
    if (!m_down.contains(key.key()))
        return false;
    if (key.isAutoRepeat())
        return true;
    const quint64 number = ++m_releases;
    m_letGo.insert(key.key(), number);
    QTimer::singleShot(repeatGraceMs, this, [this, key = key.key(), number] {
        if (m_letGo.value(key) != number)
            return;
        m_letGo.remove(key);
        m_down.remove(key);
        const auto held = m_held.constFind(key);
        if (held != m_held.cend()) {
            m_actions.release(*held, this);
            m_held.erase(held);
        }
    });
    return true;
}

bool KeyboardControl::repeated(int key)
{
    return m_letGo.remove(key) > 0;
}
