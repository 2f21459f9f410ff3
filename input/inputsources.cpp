#include "inputsources.h"

#include "keyboardcontrol.h"
#include "padsupport.h"
#include "sliderinput.h"

#include <QCoreApplication>

InputSources::InputSources(QWidget *window, LensActions &actions, OperationMonitor &monitor,
                           QStatusBar *statusBar)
    : m_keyboard(std::make_unique<KeyboardControl>(window, actions, monitor))
{
    for (int motor = 0; motor < LensActions::motorCount; ++motor)
        m_sliders[motor] = std::make_unique<SliderInput>(actions, LensActions::Motor(motor), monitor);
    m_pad = PadSupport::make(window, actions, monitor, statusBar);
}

InputSources::~InputSources() = default;

ControlHelp InputSources::help()
{
    return {{{QCoreApplication::translate("HelpMenu", "Keyboard"), KeyboardControl::keyList() + SliderInput::keyList()},
             {QCoreApplication::translate("HelpMenu", "Gamepad"), PadSupport::controlList()}},
            PadSupport::about()};
}
