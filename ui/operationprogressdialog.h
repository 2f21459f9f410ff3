#ifndef OPERATIONPROGRESSDIALOG_H
#define OPERATIONPROGRESSDIALOG_H

#include "operationprogress.h"

class QLabel;
class QProgressBar;

// Shown over the window while a long operation runs: what the window is doing,
// and during a fixed pause the seconds left. It has no cancel button and cannot
// be closed, since the board's sequence must run to its end. It is not modal:
// the window's input is dropped by the monitor anyway, and a modal dialog
// would make Qt drop the close requests the window system sends the window.
//
// Pauses announced ahead are counted down together, so the seconds left only
// go down and the bar fills once over all of them; any other pause is counted
// down on its own. The dialog hears every wait of the operation, also while it
// is hidden.
class OperationProgressDialog : public OperationProgress
{
    Q_OBJECT

public:
    explicit OperationProgressDialog(QWidget *window);

    void start(const QString &step) override;
    void setStep(const QString &step) override;
    void showWait(KeepAlive::Reason reason, qint64 remainingMs) override;

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // No pause under way: what is left of those announced, if any; otherwise
    // a busy bar.
    void showBetweenPauses();
    // leftMs of totalMs to wait: a full bar and no text once nothing is left.
    void showLeft(qint64 leftMs, qint64 totalMs);

    QLabel *m_step;
    QLabel *m_detail;
    QProgressBar *m_bar;
    // The pauses announced ahead: their whole length, and how much of it has
    // not begun yet.
    qint64 m_plannedMs = 0;
    qint64 m_aheadMs = 0;
    // The whole length of the pause under way (0 when none is), and whether
    // it is one of those announced.
    qint64 m_pauseMs = 0;
    bool m_pausePlanned = false;
};

#endif // OPERATIONPROGRESSDIALOG_H
