#ifndef OPERATIONPROGRESS_H
#define OPERATIONPROGRESS_H

#include "keepalive.h"

#include <QDialog>

// What OperationMonitor shows over the window while a long operation runs
// (the window's OperationProgressDialog).
class OperationProgress : public QDialog
{
    Q_OBJECT

public:
    using QDialog::QDialog;

    // A new operation begins: nothing announced or counted yet.
    virtual void start(const QString &step) = 0;
    // What the operation is doing, such as "Calibrating…".
    virtual void setStep(const QString &step) = 0;
    // What the operation waits for, as the keep-alive hears it.
    virtual void showWait(KeepAlive::Reason reason, qint64 remainingMs) = 0;
};

#endif // OPERATIONPROGRESS_H
