#ifndef LENSACTIONS_H
#define LENSACTIONS_H

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "lenspanel.h"
#include "lensunits.h"
#include "sessionrequest.h"
#include "sessionresult.h"

class LensSession;
class OperationMonitor;
class QLineEdit;
class QPushButton;
class QSlider;
class QWidget;
struct MotorRange;

// Everything the window does to the lens, whoever asks for it: the buttons,
// the keyboard, the sliders' own keys and wheel, a gamepad. Each action is a
// request to the window's lens session, which carries it out on the driver's
// thread by the session's rules, and slider and field show what the board
// answers. Reading the board for the operator (Refresh, Calibrate All,
// storing) runs as one operation of the monitor; the moves do not: a stop
// goes ahead of the moves still waiting, and the newest move of a motor wins.
//
// A motor runs from its run action until its STOP. A run that an input holds
// (a key kept down) also ends when that input lets go, and whatever holds it,
// when the window loses activation: a motor must not run on with no one at
// the controls. Every run ends when the window closes: the close waits until
// the session has stopped the motors. A run at a speed of its own sets the
// speed the settings panel chose again when it ends, so the buttons keep the
// operator's speed.
//
// A preset may be called at a speed of its own. On a board that keeps speeds
// as settings the preset's level then stays with the board while its move goes
// on; the panel's speed of a motor goes out again only as the first step of
// the next action that uses it (that motor's run, step or move, or a preset
// called at the panel's speeds). That action is the operator's own: whatever
// of the preset's move is left on that motor gives way to it anyway, so a
// speed never changes under a move the operator is still watching.
//
// A preset may instead be called with a recall time: every motor it moves
// arrives together in that many seconds, on the session's eased course. What
// the call came to (longer than asked, the board's own recall of a preset
// this computer never stored) is told on the status line, and a recall the
// profile has no measured speeds for is refused with a report.
//
// With a lens profile that sets soft limits, each motor's slider and typed
// field range over the limits, within the board's range; a motor that stands
// beyond them (it stood there before the profile came) shows its position in
// the field, and its slider at the nearer end. A preset recorded beyond them
// is recalled to them, and the status line says so once.
//
// The focus may follow the zoom on every move (Lens ▸ Keep focus while
// zooming): the wish holds for the session in service and every one after, as
// long as the profile in use has a focus curve.
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
    // What is read with the positions: every motor and the zoom and focus
    // ranges, or the focus and its range alone.
    enum class Reads { All, Focus };

    LensActions(QWidget *window, const LensPanel &panel, OperationMonitor &monitor);
    ~LensActions() override;

    using SessionFactory = std::function<std::unique_ptr<LensSession>()>;
    // The session make makes drives the board from now on (none for no
    // board). The one before is shut down and gone first, stopping the motors
    // it ran, so that the board hears one driver at a time; then ready runs.
    void replaceSession(const SessionFactory &make, const std::function<void()> &ready);
    LensSession *session() const { return m_session.get(); }
    // Nothing waiting for the board or under way, and no operation running.
    bool isIdle() const;

    // The run button of motor and direction: the slider takes the keyboard
    // focus, then the run goes to the session. Nothing happens while the
    // button is disabled or an operation runs. holder is the input that holds
    // the run, none for a run that goes on until STOP. A motor already
    // running runs again, held as asked: that is also how a new speed takes
    // effect. With a speed level, zoom and focus are set to it first.
    // True when the run went to the session.
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
    // STOP for every motor running or about to, as when the settings are
    // opened.
    void stopAll();
    // The zoom and focus speed levels the settings panel has just given the
    // board.
    void setPanelSpeeds(int zoom, int focus);
    // The board's zoom and focus speed levels are no longer the panel's (a
    // speed measurement left them at high): the next action that uses one
    // gives the panel's again.
    void owePanelSpeeds();

    // The slider's value goes out as at a handle release (field, move,
    // settling pause).
    void sendSlider(Motor motor);
    // The typed position goes out; a number beyond the board's range goes
    // out, and is shown, as the end of the range; one beyond a soft limit is
    // refused, naming the limit. A value in the lens's units goes
    // where the profile in use puts it (a focus distance at the zoom
    // position shown); one the profile cannot place, or places beyond a
    // limit, is told of and sends nothing.
    void sendTyped(Motor motor);
    // The step buttons: a hundredth of the range, sent as a released slider;
    // nothing while they are disabled.
    void step(Motor motor, int direction);
    // The operator is moving motor's slider by keys or wheel: live positions
    // leave it alone until the move has gone out.
    void setSliderInHand(Motor motor, bool inHand);

    // At the preset's own speed or in its recall time, when it has one.
    bool callPreset(int preset);
    PresetSpeed presetSpeed(int preset) const;
    void setPresetSpeed(int preset, PresetSpeed speed);
    // The preset's recall time in seconds; 0 for none (its speed holds).
    double presetSeconds(int preset) const;
    void setPresetSeconds(int preset, double seconds);
    bool storePreset(int preset);
    bool refresh();
    void storeInDevice();
    void calibrateAll();

    // Reads the positions and ranges and shows them, resizing the sliders
    // (iris range 0..100), then runs then.
    void readPositionsAndRanges(Reads reads, const std::function<void()> &then);
    // The display rule: the field gets the number, the slider clamps it.
    void showPosition(Motor motor, int position);
    // "Live positions while running": moving motors are read and shown.
    void setLiveReads(bool on);
    // Focus follows zoom from now on; refused (off, told of, and
    // trackingEnded()) when the profile in use has no focus curve.
    void setTracking(bool on);
    bool isTracking() const { return m_tracking; }

    // The profile in use and the positions shown, in counts.
    LensUnits &units() { return m_units; }

    QSlider *slider(Motor motor) const;
    QPushButton *runButton(Motor motor, Direction direction) const;

signals:
    // A motor started or stopped running.
    void runsChanged();
    // For the status line: what a move came to, shown for timeoutMs.
    void told(const QString &text, int timeoutMs);
    // The focus no longer follows the zoom: refused, or the profile in use
    // now has no focus curve.
    void trackingEnded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectSession();
    void submit(const SessionRequest &request, const std::function<void(const SessionResult &)> &done = {});
    // A request that is an operation of the monitor: step says what it does;
    // then hears how it went before the operation ends.
    bool operate(const QString &step, const SessionRequest &request,
                 const std::function<void(const SessionResult &)> &then = {});
    void runningChanged(Motor motor, bool running);
    // What a call of preset (in seconds, when it has a recall time) came to.
    void tellCall(int preset, double seconds, const SessionResult &result);
    // That preset was recalled to the profile's limits, the first time it
    // is; empty otherwise.
    QString recalledToLimits(int preset, const SessionResult &result);
    void setPanelSpeed(Motor motor);
    // The panel's speed of motor, if the board holds another since a preset.
    void givePanelSpeed(Motor motor);
    bool presetEnabled(const QString &button, int preset) const;
    // A read-back in driver units on the slider's scale; a failed read leaves
    // the display as it was.
    void showReadBack(Motor motor, int driverUnits);
    // The field and the slider show position (on the slider's scale), the
    // lens's units the board's counts.
    void show(Motor motor, int position, int counts);
    // The board's range of motor within the profile's limits.
    MotorRange rangeOf(Motor motor) const;
    // The slider takes motor's range as it is now.
    void applyRange(Motor motor);
    // What the field shows again when an entry sends nothing: the slider's
    // position, or the motor's beyond the slider's ends.
    int fieldPosition(Motor motor) const;
    // A typed value with a unit: where the profile puts it, or a report.
    void sendInUnits(Motor motor, const LensValue &value);
    // A goto of the operator's; one the profile's soft limits keep the motor
    // from is told of, and shown, the position shown before it, goes back.
    void goTo(Motor motor, const SessionRequest &request, std::optional<int> shown);
    void showLive(Motor motor, int driverUnits);
    // The session in service shuts down, stopping its motors; then runs once
    // it is gone, and then a session waiting takes over.
    void retire(const std::function<void()> &then);
    // The session waiting takes over once the one before it has finished.
    void takeOver();

    QWidget *m_window;
    const LensPanel m_panel;
    OperationMonitor &m_monitor;
    LensUnits m_units;
    std::unique_ptr<LensSession> m_session;
    // Shutting down: stopping the motors it ran before the next takes over,
    // or the window closes.
    std::unique_ptr<LensSession> m_retiring;
    // To take over once the session before it has stopped its motors.
    SessionFactory m_next;
    std::function<void()> m_nextReady;
    bool m_liveReads = false;
    bool m_tracking = false;
    // The run of each motor went at a speed of its own.
    std::array<bool, motorCount> m_ownSpeed{};
    std::array<bool, motorCount> m_inHand{};
    std::array<int, motorCount> m_panelSpeeds{};
    std::array<bool, motorCount> m_panelSpeedOwed{};
    std::array<PresetSpeed, presetCount> m_presetSpeeds{};
    std::array<double, presetCount> m_presetSeconds{};
    // Each motor's maximum as the board reported it, on the slider's scale.
    std::array<int, motorCount> m_boardMaxima{};
    // The limits each preset was last told to be recalled to.
    std::array<SessionResult::Limits, presetCount> m_toldLimits{};
};

#endif // LENSACTIONS_H
