#include "padsupport.h"

#include "gamepadcontrol.h"
#include "gamepadlibrary.h"

#include <QCoreApplication>

std::unique_ptr<QObject> PadSupport::make(QWidget *window, LensActions &actions, OperationMonitor &monitor,
                                          QStatusBar *statusBar)
{
    return std::make_unique<GamepadControl>(window, actions, monitor, statusBar);
}

QList<QPair<QString, QString>> PadSupport::controlList()
{
    return GamepadControl::controlList();
}

// What the pad support runs with: "Gamepad: SDL 2.26.5", or that SDL was not
// found. Loads SDL (not starting it) if no pad has yet.
QString PadSupport::about()
{
    const GamepadLibrary *sdl = GamepadLibrary::load();
    return sdl ? QCoreApplication::translate("HelpMenu", "Gamepad: %1").arg(sdl->version())
               : QCoreApplication::translate("HelpMenu", "Gamepad: SDL2 not found");
}
