#include "padsupport.h"

#include <QCoreApplication>

std::unique_ptr<QObject> PadSupport::make(QWidget *, LensActions &, OperationMonitor &, QStatusBar *, const QSettings &)
{
    return nullptr;
}

QList<QPair<QString, QString>> PadSupport::controlList()
{
    return {{QCoreApplication::translate("HelpMenu", "None"),
             QCoreApplication::translate("HelpMenu", "This build has no gamepad support")}};
}

QString PadSupport::about()
{
    return QCoreApplication::translate("HelpMenu", "Built without gamepad support");
}
