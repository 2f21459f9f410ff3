#ifndef GAMEPADCONTROL_H
#define GAMEPADCONTROL_H

#include "lensactions.h"
#include "padcapture.h"
#include "padlayout.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class OperationMonitor;
class QLabel;
class QStatusBar;
class QWidget;

// The lens from a gamepad, laid out as the operator chose: an axis pushed out
// of its dead zone runs its motor the way of its run button, the further the
// faster, until it comes back; a button held runs the iris; presses call
// presets, step zoom and focus and refresh. The pad works while the window is
// active, in operating mode and with no operation running, and only where the
// button it stands for is enabled. A stick (or button) pushed while the pad
// could not act, or whose run something else ended, first has to come back
// before it runs its motor again; so does one held when the layout changes.
// The status bar names the pad driving.
class GamepadControl : public QObject, public PadCapture
{
    Q_OBJECT

public:
    // mappingFiles: made known to SDL at start, for pads it does not know.
    GamepadControl(QWidget *window, LensActions &actions, OperationMonitor &monitor, QStatusBar *statusBar,
                   const PadLayout &layout, const QStringList &mappingFiles);

    const PadLayout &layout() const override { return m_layout; }
    void setLayout(const PadLayout &layout) override;

    bool isPadConnected() const override;
    void captureNext(bool axes, std::function<void(int control)> done) override;
    void cancelCapture() override;

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
    void capture(const PadState &state);
    void drive(LensActions::Motor motor, bool canAct);
    // Nothing the pad holds runs on, and nothing held acts until let go.
    void restart();

    QWidget *m_window;
    LensActions &m_actions;
    OperationMonitor &m_monitor;
    QLabel *m_status;
    PadLayout m_layout;
    PadState m_state{};
    bool m_connected = false;
    // The press actions down as last read.
    std::array<bool, padActionCount> m_pressed{};
    std::array<MotorHold, LensActions::motorCount> m_holds{};
    // A control asked for, and which controls have been at rest since (or
    // were when asked).
    std::function<void(int control)> m_capture;
    bool m_captureAxes = false;
    std::array<bool, padControlCount> m_restedSinceAsked{};
};

#endif // GAMEPADCONTROL_H
