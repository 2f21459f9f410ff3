#ifndef INPUTSOURCES_H
#define INPUTSOURCES_H

#include "controlhelp.h"
#include "lensactions.h"

#include <QObject>

#include <array>
#include <memory>

class KeyboardControl;
class OperationMonitor;
class PadCapture;
class QSettings;
class QStatusBar;
class QWidget;
class SliderInput;

// The window's input sources, each asking LensActions for what the operator
// wants: the keyboard, each slider's keys, wheel and groove clicks, and the
// gamepad where the build has one. Made where the program is put together,
// after the window, and gone before it.
class InputSources
{
public:
    // settings: config.ini, with the pad's layout.
    InputSources(QWidget *window, LensActions &actions, OperationMonitor &monitor, QStatusBar *statusBar,
                 const QSettings &settings);
    ~InputSources();
    InputSources(const InputSources &) = delete;
    InputSources &operator=(const InputSources &) = delete;

    // For the Help menu: the keys, then the pad's controls in its own layout.
    static ControlHelp help();
    // The pad to lay out; none where the build has no pad.
    PadCapture *pad() const;

private:
    std::unique_ptr<KeyboardControl> m_keyboard;
    std::array<std::unique_ptr<SliderInput>, LensActions::motorCount> m_sliders;
    std::unique_ptr<QObject> m_pad;
};

#endif // INPUTSOURCES_H
