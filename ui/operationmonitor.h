#ifndef OPERATIONMONITOR_H
#define OPERATIONMONITOR_H

#include "keepalive.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>

class OperationProgressDialog;
class QWidget;

// Keeps the window alive while one of its operations talks to the board (see
// Operation). The drivers work on the window's thread; through the keep-alive
// they wait in slices, and between slices the window's events are processed,
// so it repaints. Input to the window meanwhile is dropped, never held back
// until the operation ends, and a close request waits for the end. A fixed
// pause of a second or more, or an operation running a second, brings up a
// progress dialog over the window; a wait cursor shows throughout, except over
// a report that the operation opens, which also hides the progress dialog.
class OperationMonitor : public QObject
{
    Q_OBJECT

public:
    // Pauses this long, and operations running this long, are worth a dialog.
    static constexpr qint64 progressAfterMs = 1000;

    explicit OperationMonitor(QWidget *window);
    ~OperationMonitor() override;

    bool isRunning() const { return m_running; }

    // False when an operation is already running: the new one must do
    // nothing. Each successful begin() is followed by one end().
    bool begin(const QString &step);
    void setStep(const QString &step);
    void end();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void keepAlive(KeepAlive::Reason reason, qint64 remainingMs);
    void showProgress();
    // A report to the operator opened or closed during the operation.
    void reportShown(QObject *report);
    void reportHidden(QObject *report);

    QWidget *m_window;
    // A child of the window, made when first needed.
    OperationProgressDialog *m_dialog = nullptr;
    bool m_running = false;
    bool m_closeRequested = false;
    QString m_step;
    QElapsedTimer m_clock;
    // The reports open now; each holds an arrow cursor on the cursor stack.
    QSet<QObject *> m_reports;
    KeepAlive::Function m_previousKeepAlive;
};

#endif // OPERATIONMONITOR_H
