#ifndef OPERATIONMONITOR_H
#define OPERATIONMONITOR_H

#include "keepalive.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class OperationProgress;
class QEvent;
class QWidget;

// Keeps the window alive while one of its operations talks to the board (see
// Operation). The drivers work on the window's thread; through the keep-alive
// they wait in slices, and between slices the window's events are processed,
// so it repaints. Input to the window meanwhile is dropped, never held back
// until the operation ends (what the operator clicked while the window was
// busy would otherwise happen long after), and a close request (of the window
// or of its progress dialog) waits for the end; the window then closes, and
// nothing held back for after the operation runs. A fixed pause of a second
// or more, or an operation running a second, brings up a progress dialog over
// the window; a wait cursor shows throughout, except over a report that the
// operation opens, which also hides the progress dialog.
//
// A quiet operation (a look at the board the operator did not ask for, such
// as a live position read) shows neither cursor nor dialog, and holds the
// window's input back instead of dropping it: when it ends, that input reaches
// the window as if it had just been made, in its order.
class OperationMonitor : public QObject
{
    Q_OBJECT

public:
    // Pauses this long, and operations running this long, are worth a dialog.
    static constexpr qint64 progressAfterMs = 1000;

    enum class Mode { Busy, Quiet };

    // Makes the dialog shown over window during a long operation.
    using ProgressFactory = std::function<OperationProgress *(QWidget *window)>;

    OperationMonitor(QWidget *window, ProgressFactory makeProgress);
    ~OperationMonitor() override;

    bool isRunning() const { return m_running; }
    // The operation running is a quiet one.
    bool isQuiet() const { return m_running && m_mode == Mode::Quiet; }

    // False when an operation is already running: the new one must do
    // nothing. Each successful begin() is followed by one end().
    bool begin(const QString &step, Mode mode = Mode::Busy);
    void setStep(const QString &step);
    void end();

    // Runs call now when no operation runs; otherwise right after the running
    // one has ended, after the input it held back, and never inside another
    // operation. Nothing runs once context is gone.
    void runWhenIdle(QObject *context, std::function<void()> call);

signals:
    // Input to the window that a busy operation drops; a release among it
    // still ends what its press began.
    void inputDropped(QObject *receiver, QEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void keepAlive(KeepAlive::Reason reason, qint64 remainingMs);
    // A report to the operator opened or closed during the operation.
    void reportShown(QObject *report);
    void reportHidden(QObject *report);

    // Held back by a quiet operation: an event for its receiver, or a call.
    struct Deferred
    {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
        std::function<void()> call;
    };

    QWidget *m_window;
    ProgressFactory m_makeProgress;
    // A child of the window, made with the first busy operation.
    OperationProgress *m_dialog = nullptr;
    bool m_running = false;
    Mode m_mode = Mode::Busy;
    bool m_closeRequested = false;
    std::vector<Deferred> m_deferred;
    QElapsedTimer m_clock;
    // The reports open now; each holds an arrow cursor on the cursor stack.
    QSet<QObject *> m_reports;
    KeepAlive::Function m_previousKeepAlive;
};

#endif // OPERATIONMONITOR_H
