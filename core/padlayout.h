#ifndef PADLAYOUT_H
#define PADLAYOUT_H

#include <QList>
#include <QPair>
#include <QString>

#include <array>

class QSettings;

// A pad's controls in the standard game controller layout, whatever its make,
// numbered as SDL numbers them: its six axes, then its buttons.
constexpr int padAxisCount = 6;
constexpr int padButtonCount = 21;
constexpr int padControlCount = padAxisCount + padButtonCount;
constexpr int noPadControl = -1;
// Each control as read: an axis from -1 to 1 the way SDL counts it (a stick
// right or down is positive, a trigger goes from 0 to 1 as it is pulled), a
// button 0 or 1.
using PadState = std::array<float, padControlCount>;

// A control's name in config.ini, SDL's own ("lefty", "a", "dpup"); a name's
// control, noPadControl for a word SDL does not use.
QString padControlName(int control);
int padControlFromName(const QString &name);
// The control for the operator: "Left stick up / down", "A"; a stick or
// trigger that runs the other way says so.
QString padControlText(int control, bool inverted = false);
inline bool isPadAxis(int control)
{
    return control >= 0 && control < padAxisCount;
}
// The triggers, axes that count as buttons as well.
inline bool isPadTrigger(int control)
{
    return control == 4 || control == 5;
}

// What the pad can ask of the lens: the runs, held as long as their axis is
// out of the dead zone; the iris held open or closed; then what a press does.
enum class PadAction {
    Zoom,
    Focus,
    Iris,
    IrisOpen,
    IrisClose,
    ZoomPlus,
    ZoomMinus,
    FocusPlus,
    FocusMinus,
    Preset1,
    Preset10 = Preset1 + 9,
    Refresh,
};
constexpr int padActionCount = int(PadAction::Refresh) + 1;
// A run takes an axis; every other action a button or a trigger.
inline bool isPadRun(PadAction action)
{
    return action <= PadAction::Iris;
}
// Whether control can be bound to action.
bool padControlFits(PadAction action, int control);
// The action's key under gamepad/ ("zoom", "irisOpen", "preset3").
QString padActionKey(PadAction action);
// The action for the operator: "Zoom", "Call preset 3".
QString padActionText(PadAction action);

// Which pad control does what, and how far a stick must go for each speed.
// Kept in config.ini under gamepad/: one key per action with the control's
// name or "none", "zoomInverted" and the like for the runs, and the edges in
// per cent of the stick's travel.
struct PadLayout
{
    static constexpr int minDeadZone = 10;
    static constexpr int maxDeadZone = 50;

    // The control of each action, or noPadControl.
    std::array<int, padActionCount> controls{};
    // The runs whose axis goes the other way.
    std::array<bool, padActionCount> inverted{};
    // A stick within this part of its travel rests; low speed up to
    // mediumFrom, medium up to highFrom, high beyond.
    int deadZone = 25;
    int mediumFrom = 50;
    int highFrom = 85;

    // Left stick zoom, right stick focus, the shoulders the iris, A B X Y
    // presets 1 to 4, the D-pad steps, Start refreshes.
    static PadLayout defaults();
    // The layout in settings: a word that names no fitting control, or a
    // value that is no number or truth, is logged and leaves its action as
    // by default; edges out of their range are brought into it. A key takes
    // its control as take() does; a control that two keys name is logged and
    // goes to the later key's action, in the order of PadAction.
    static PadLayout read(const QSettings &settings);
    void write(QSettings &settings) const;

    int control(PadAction action) const { return controls[int(action)]; }
    // A run's axis as read, positive towards the motor's maximum (a stick up
    // or right, a trigger pulled; the other way when inverted); 0 unbound.
    float deflection(PadAction action, const PadState &state) const;
    // A press action's control is down (a trigger: past half its travel).
    bool isDown(PadAction action, const PadState &state) const;
    // The speed level of a deflection: 0 low, 1 medium, 2 high; -1 at rest.
    int band(float deflection) const;
    // Each bound control with what it does, for the operator.
    QList<QPair<QString, QString>> controlList() const;

    bool operator==(const PadLayout &other) const;

    // Binds control to action, as the operator does in the Gamepad dialog:
    // the other action that held the control takes the one action leaves
    // when that fits it, and none when it does not.
    void take(PadAction action, int control);
};

#endif // PADLAYOUT_H
