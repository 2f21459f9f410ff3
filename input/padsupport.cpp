#include "padsupport.h"

#include "gamepadcontrol.h"
#include "gamepadlibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

std::unique_ptr<QObject> PadSupport::make(QWidget *window, LensActions &actions, OperationMonitor &monitor,
                                          QStatusBar *statusBar, const QSettings &settings)
{
    // Pads SDL does not know by themselves: the mapping files in the user's
    // configuration folder and beside config.ini, the latter's mappings
    // winning.
    const QString mappings = QStringLiteral("gamecontrollerdb.txt");
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return std::make_unique<GamepadControl>(
        window, actions, monitor, statusBar, PadLayout::read(settings),
        QStringList{QDir(userFolder).absoluteFilePath(mappings), QDir::current().absoluteFilePath(mappings)});
}

QList<QPair<QString, QString>> PadSupport::controlList()
{
    return PadLayout::defaults().controlList();
}

// What the pad support runs with: "Gamepad: SDL 2.26.5", or that SDL was not
// found. Loads SDL (not starting it) if no pad has yet.
QString PadSupport::about()
{
    const GamepadLibrary *sdl = GamepadLibrary::load();
    return sdl ? QCoreApplication::translate("HelpMenu", "Gamepad: %1").arg(sdl->version())
               : QCoreApplication::translate("HelpMenu", "Gamepad: SDL2 not found");
}
