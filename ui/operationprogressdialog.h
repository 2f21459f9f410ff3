#ifndef OPERATIONPROGRESSDIALOG_H
#define OPERATIONPROGRESSDIALOG_H

#include "keepalive.h"

#include <QDialog>

class QLabel;
class QProgressBar;

// Shown over the window while a long operation runs: what the window is doing,
// and during a fixed pause the seconds left. It has no cancel button and cannot
// be closed, since the board's sequence must run to its end. It is not modal:
// the window's input is dropped by the monitor anyway, and a modal dialog
// would make Qt drop the close requests the window system sends the window.
class OperationProgressDialog : public QDialog
{
    Q_OBJECT

public:
    explicit OperationProgressDialog(QWidget *window);

    // What the operation is doing, such as "Calibrating…".
    void setStep(const QString &step);
    // What the operation waits for: the time left of a fixed pause, counted
    // down, or the board's answer.
    void showWait(KeepAlive::Reason reason, qint64 remainingMs);

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showBusy(const QString &detail);

    QLabel *m_step;
    QLabel *m_detail;
    QProgressBar *m_bar;
    // The whole length of the pause under way; 0 when none is.
    qint64 m_pauseMs = 0;
};

#endif // OPERATIONPROGRESSDIALOG_H
