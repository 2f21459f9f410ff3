#include "inputsources.h"

#include "keyboardcontrol.h"
#include "padcapture.h"
#include "padsupport.h"
#include "sliderinput.h"

#include <QCoreApplication>

InputSources::InputSources(QWidget *window, LensActions &actions, OperationMonitor &monitor,
                           QStatusBar *statusBar, const QSettings &settings)
    : m_keyboard(std::make_unique<KeyboardControl>(window, actions, monitor))
{
    for (int motor = 0; motor < LensActions::motorCount; ++motor)
        m_sliders[motor] = std::make_unique<SliderInput>(actions, LensActions::Motor(motor), monitor);
    m_pad = PadSupport::make(window, actions, monitor, statusBar, settings);
}

InputSources::~InputSources() = default;

ControlHelp InputSources::help()
{
    return {{{QCoreApplication::translate("HelpMenu", "Keyboard"), KeyboardControl::keyList() + SliderInput::keyList()},
             {QCoreApplication::translate("HelpMenu", "Gamepad"), PadSupport::controlList()}},
            &PadSupport::about,
            1};
}

PadCapture *InputSources::pad() const
{
    return dynamic_cast<PadCapture *>(m_pad.get());
}
