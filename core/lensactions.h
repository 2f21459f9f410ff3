#ifndef LENSACTIONS_H
#define LENSACTIONS_H

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "lenspanel.h"

class Controller;
class OperationMonitor;
class QLineEdit;
class QPushButton;
class QSlider;
class QWidget;

// Everything the window does to the lens, whoever asks for it: the buttons,
// the keyboard, the sliders' own keys and wheel, a gamepad. Each action runs
// as one operation on the driver in service and keeps slider and field
// showing the same number.
//
// A motor runs from its run action until its STOP. A run that an input holds
// (a key kept down) also ends when that input lets go, and whatever holds it,
// when the window loses activation: a motor must not run on with no one at
// the controls. Every run ends when the window closes. An end that comes while
// another operation runs is carried out right after it, never dropped. A run
// at a speed of its own sets the speed the settings panel chose again when it
// ends, so the buttons keep the operator's speed.
//
// A preset may be called at a speed of its own. On a board that keeps speeds
// as settings the preset's level then stays with the board while its move goes
// on; the panel's speed of a motor goes out again only as the first step of
// the next action that uses it (that motor's run, step or move, or a preset
// called at the panel's speeds). That action is the operator's own: whatever
// of the preset's move is left on that motor gives way to it anyway, so a
// speed never changes under a move the operator is still watching.
class LensActions : public QObject
{
    Q_OBJECT

public:
    enum class Motor { Zoom, Focus, Iris };
    static constexpr int motorCount = 3;
    // Tele, far and open run towards the motor's maximum; wide, near and close
    // towards 0.
    enum class Direction { TowardsZero, TowardsMaximum };
    static constexpr int presetCount = 10;
    // How fast a preset is called: at the panel's speeds or at a level of its
    // own. The numbers are those kept in the settings file.
    enum class PresetSpeed { Panel = 0, Low = 1, Medium = 2, High = 3 };

    // comm is the window's driver in service, which may be replaced or absent.
    LensActions(QWidget *window, const LensPanel &panel, const std::unique_ptr<Controller> &comm,
                OperationMonitor &monitor);

    // The run button of motor and direction: the slider takes the keyboard
    // focus, then the run starts. Nothing happens while the button is
    // disabled or an operation runs. holder is the input that holds the run,
    // none for a run that goes on until STOP. A motor already running runs
    // again, held as asked: that is also how a new speed takes effect. With a
    // speed level, zoom and focus are set to it first.
    // True when the run was sent.
    bool run(Motor motor, Direction direction, const QObject *holder = nullptr,
             std::optional<int> speed = std::nullopt);
    // The STOP button: stop, read the position back and show it; the slider
    // takes the keyboard focus.
    void stop(Motor motor);
    // Holder lets go: the run it holds on motor, if any, ends as with STOP.
    void release(Motor motor, const QObject *holder);
    // Ends every run holder holds; with no holder, every held run.
    void releaseAll(const QObject *holder = nullptr);
    // What holds motor's run: nullptr when none does or the motor stands.
    const QObject *holder(Motor motor) const;
    QList<Motor> runningMotors() const;
    // The driver in service is about to go: a motor still running is stopped
    // on it first, without a read-back, and no run goes on.
    void forgetRuns();
    // STOP for every motor running, as when the window closes.
    void stopAll();
    // The zoom and focus speed levels the settings panel has just given the
    // board.
    void setPanelSpeeds(int zoom, int focus);

    // The slider's value goes out as at a handle release (field, move,
    // settling pause); while an operation runs, right after it.
    void sendSlider(Motor motor);
    // The typed position goes out; a number beyond the range goes out, and
    // is shown, as the end of the range.
    void sendTyped(Motor motor);
    // The step buttons: a hundredth of the range, sent as a released slider;
    // nothing while they are disabled.
    void step(Motor motor, int direction);
    // The operator is moving motor's slider by keys or wheel: live positions
    // leave it alone until the move has gone out.
    void setSliderInHand(Motor motor, bool inHand);

    // At the preset's own speed, when it has one.
    bool callPreset(int preset);
    PresetSpeed presetSpeed(int preset) const;
    void setPresetSpeed(int preset, PresetSpeed speed);
    bool storePreset(int preset);
    bool refresh();
    void storeInDevice();
    void calibrateAll();
    // The board calibrates, then the window waits waitMs (none: 0) for it to
    // finish; that wait is announced ahead, before those the driver makes.
    void calibrate(unsigned long waitMs);

    // Reads the three positions and the zoom and focus maxima and shows them,
    // resizing the sliders (iris range 0..100).
    void readPositionsAndRanges();
    // The display rule: the field gets the number, the slider clamps it.
    void showPosition(Motor motor, int position);
    // Reads motor's position without a word to the operator, cursor or
    // dialog, holding the window's input back meanwhile, and shows it; a
    // failed read changes nothing.
    void readLive(Motor motor);

    QSlider *slider(Motor motor) const;
    QPushButton *runButton(Motor motor, Direction direction) const;

signals:
    // A motor started or stopped running.
    void runsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Run
    {
        bool running = false;
        const QObject *holder = nullptr;
        bool ownSpeed = false;
    };

    // Ends the run; true when it had a speed of its own.
    bool endRun(Motor motor);
    void setPanelSpeed(Motor motor);
    // The panel's speed of motor, if the board holds another since a preset.
    void givePanelSpeed(Motor motor);
    // Calls or stores preset through call, as long as its button (button's
    // name with %1 for the number) is enabled.
    bool presetAction(const QString &button, const QString &step, const std::function<void(char)> &call, int preset);
    // A read-back in driver units on the slider's scale; a failed read leaves
    // the display as it was.
    void showReadBack(Motor motor, int driverUnits);

    QWidget *m_window;
    const LensPanel m_panel;
    const std::unique_ptr<Controller> &m_comm;
    OperationMonitor &m_monitor;
    std::array<Run, motorCount> m_runs;
    std::array<bool, motorCount> m_inHand{};
    std::array<int, motorCount> m_panelSpeeds{};
    std::array<bool, motorCount> m_panelSpeedOwed{};
    std::array<PresetSpeed, presetCount> m_presetSpeeds{};
};

#endif // LENSACTIONS_H
