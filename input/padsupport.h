#ifndef PADSUPPORT_H
#define PADSUPPORT_H

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

#include <memory>

class LensActions;
class OperationMonitor;
class QSettings;
class QStatusBar;
class QWidget;

// The gamepad as the rest of the program sees it. A build without the pad's
// support links padsupport_none.cpp instead, which says so.
namespace PadSupport {

// The pad's input source for the window, laid out as config.ini says; none
// in a build without it.
std::unique_ptr<QObject> make(QWidget *window, LensActions &actions, OperationMonitor &monitor,
                              QStatusBar *statusBar, const QSettings &settings);
// Each control of the pad's own layout with what it does, for the operator.
QList<QPair<QString, QString>> controlList();
// What About says of the pad support.
QString about();

} // namespace PadSupport

#endif // PADSUPPORT_H
