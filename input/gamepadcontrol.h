#ifndef GAMEPADCONTROL_H
#define GAMEPADCONTROL_H

#include "gamepadpoller.h"
#include "lensactions.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

#include <array>

class OperationMonitor;
class QLabel;
class QStatusBar;
class QWidget;

// The lens from a gamepad: a stick pushed out of its dead zone runs its motor
// the way of its run button, the further the faster, until it comes back;
// a shoulder held runs the iris; A, B, X and Y call presets 1 to 4, the
// D-pad steps zoom and focus, Start refreshes. The pad works while the window
// is active, in operating mode and with no operation running, and only where
// the button it stands for is enabled. A stick (or shoulder) pushed while the
// pad could not act, or whose run something else ended, first has to come
// back before it runs its motor again. The status bar names the pad driving.
class GamepadControl : public QObject
{
    Q_OBJECT

public:
    // A stick within this part of its travel rests.
    static constexpr float deadZone = 0.25f;

    GamepadControl(QWidget *window, LensActions &actions, OperationMonitor &monitor, QStatusBar *statusBar);

    // Each control with what it does, for the operator.
    static QList<QPair<QString, QString>> controlList();

private:
    enum class Hold { Rest, Running, Waiting };
    struct MotorHold
    {
        Hold hold = Hold::Rest;
        LensActions::Direction direction = LensActions::Direction::TowardsZero;
        int band = 0;
    };

    void connected(const QString &name);
    void disconnected();
    void read(const PadState &state);
    void drive(LensActions::Motor motor, bool canAct);

    QWidget *m_window;
    LensActions &m_actions;
    OperationMonitor &m_monitor;
    QLabel *m_status;
    PadState m_state{};
    // The buttons down as last read.
    std::array<bool, padControlCount> m_pressed{};
    std::array<MotorHold, LensActions::motorCount> m_holds{};
    // An action of the pad's is under way.
    bool m_acting = false;
};

#endif // GAMEPADCONTROL_H
