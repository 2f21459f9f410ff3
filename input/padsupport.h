#ifndef PADSUPPORT_H
#define PADSUPPORT_H

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

#include <memory>

class LensActions;
class OperationMonitor;
class QStatusBar;
class QWidget;

// The gamepad as the rest of the program sees it. A build without the pad's
// support links padsupport_none.cpp instead, which says so.
namespace PadSupport {

// The pad's input source for the window; none in a build without it.
std::unique_ptr<QObject> make(QWidget *window, LensActions &actions, OperationMonitor &monitor,
                              QStatusBar *statusBar);
// Each control with what it does, for the operator.
QList<QPair<QString, QString>> controlList();
// What About says of the pad support.
QString about();

} // namespace PadSupport

#endif // PADSUPPORT_H
