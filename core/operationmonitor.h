#ifndef OPERATIONMONITOR_H
#define OPERATIONMONITOR_H

#include "keepalive.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <functional>

class OperationProgress;
class QEvent;
class QWidget;

// Tells the operator that the window waits for the board while one of its
// operations runs (Save, Test, Calibrate All, Refresh, a store): the driver
// works on a thread of its own, so the window goes on repainting, and the
// operation ends when its last answer comes back. Input to the window
// meanwhile is dropped, never held back until the end (what the operator
// clicked while the window was busy would otherwise happen long after), and
// a close request (of the window or of its progress dialog) waits for the
// end; the window then closes. A fixed pause of a second or more, or an
// operation running a second, brings up a progress dialog over the window,
// which hears every wait the driver makes; a wait cursor shows throughout,
// except over a report, which also hides the progress dialog.
//
// The moves of the lens (runs, stops, gotos, presets called) are no such
// operations: the lens session takes them in turn as they come.
class OperationMonitor : public QObject
{
    Q_OBJECT

public:
    // Pauses this long, and operations running this long, are worth a dialog.
    static constexpr qint64 progressAfterMs = 1000;

    // Makes the dialog shown over window during a long operation.
    using ProgressFactory = std::function<OperationProgress *(QWidget *window)>;

    OperationMonitor(QWidget *window, ProgressFactory makeProgress);
    ~OperationMonitor() override;

    bool isRunning() const { return m_running; }

    // False when an operation is already running: the new one must do
    // nothing. Each successful begin() is followed by one end(), once the
    // operation's last answer has come.
    bool begin(const QString &step);
    void setStep(const QString &step);
    // As setStep, told by the driver's thread while the board works on.
    void setStepFromAnyThread(const QString &step);
    void end();

signals:
    // Input to the window that a running operation drops; a release among it
    // still ends what its press began.
    void inputDropped(QObject *receiver, QEvent *event);
    // The window was asked to close, and closes once the operation ends: an
    // operation that can be called off ends now.
    void closeHeldBack();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Now when called on the monitor's thread, otherwise queued to it.
    void onOwnThread(const std::function<void()> &call);
    // What the driver waits for, heard on the window's thread.
    void showWait(KeepAlive::Reason reason, qint64 remainingMs);
    // A report to the operator opened or closed during the operation.
    void reportShown(QObject *report);
    void reportHidden(QObject *report);

    QWidget *m_window;
    ProgressFactory m_makeProgress;
    // A child of the window, made with the first operation.
    OperationProgress *m_dialog = nullptr;
    bool m_running = false;
    bool m_closeRequested = false;
    // Shows the dialog once the operation has run progressAfterMs.
    QTimer m_progressDelay;
    // The reports open now; each holds an arrow cursor on the cursor stack.
    QSet<QObject *> m_reports;
    KeepAlive::Function m_previousKeepAlive;
};

#endif // OPERATIONMONITOR_H
