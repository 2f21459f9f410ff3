#include "padsupport.h"

#include "gamepadcontrol.h"

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

QString PadSupport::about()
{
    return QCoreApplication::translate("HelpMenu", "Gamepads through %1").arg(GamepadPoller::library());
}
