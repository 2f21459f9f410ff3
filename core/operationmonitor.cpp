#include "operationmonitor.h"

#include "operationprogress.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace {

// What an operator does with mouse, keyboard, pen or finger.
bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

// The widget an event is for: the receiver, or for a shortcut owned by an
// action, the widget that holds the action.
QWidget *widgetOf(QObject *receiver)
{
    for (QObject *object = receiver; object; object = object->parent()) {
        if (auto *widget = qobject_cast<QWidget *>(object))
            return widget;
    }
    return nullptr;
}

} // namespace

OperationMonitor::OperationMonitor(QWidget *window, ProgressFactory makeProgress)
    : m_window(window)
    , m_makeProgress(std::move(makeProgress))
{
    m_progressDelay.setSingleShot(true);
    m_progressDelay.setInterval(int(progressAfterMs));
    connect(&m_progressDelay, &QTimer::timeout, this, [this] {
        if (m_running && m_reports.isEmpty())
            m_dialog->show();
    });
    // The driver waits on its own thread; what it waits for is shown here,
    // at once when the driver works on the window's thread.
    m_previousKeepAlive = KeepAlive::setFunction([this](KeepAlive::Reason reason, qint64 remainingMs) {
        onOwnThread([this, reason, remainingMs] { showWait(reason, remainingMs); });
    });
}

// The window's drivers are gone by now: nothing calls the keep-alive any more.
OperationMonitor::~OperationMonitor()
{
    KeepAlive::setFunction(std::move(m_previousKeepAlive));
    if (m_running)
        QApplication::restoreOverrideCursor();
}

bool OperationMonitor::begin(const QString &step)
{
    if (m_running)
        return false;
    m_running = true;
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Made now, since it counts the operation's pauses before it shows.
    if (!m_dialog)
        m_dialog = m_makeProgress(m_window);
    m_dialog->start(step);
    m_progressDelay.start();
    return true;
}

void OperationMonitor::setStep(const QString &step)
{
    if (m_running)
        m_dialog->setStep(step);
}

void OperationMonitor::setStepFromAnyThread(const QString &step)
{
    onOwnThread([this, step] { setStep(step); });
}

void OperationMonitor::onOwnThread(const std::function<void()> &call)
{
    if (QThread::currentThread() == thread())
        call();
    else
        QMetaObject::invokeMethod(this, call, Qt::QueuedConnection);
}

void OperationMonitor::end()
{
    if (!m_running)
        return;
    m_progressDelay.stop();
    if (m_dialog->isVisible()) {
        m_dialog->hide();
        m_window->activateWindow();
    }
    // A report deleted while shown never says it hid; its cursor goes too.
    for (qsizetype i = 0; i < m_reports.size(); ++i)
        QApplication::restoreOverrideCursor();
    m_reports.clear();
    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(this);
    m_running = false;
    if (m_closeRequested) {
        m_closeRequested = false;
        // After the answer that ended the operation has been taken in.
        QTimer::singleShot(0, m_window, [window = m_window] { window->close(); });
    }
}

bool OperationMonitor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close && watched == m_window) {
        // The board is in the middle of the operation; the window closes once
        // it is done.
        m_closeRequested = true;
        event->ignore();
        emit closeHeldBack();
        return true;
    }
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
        if (watched != m_dialog && qobject_cast<QDialog *>(watched)) {
            if (event->type() == QEvent::Show)
                reportShown(watched);
            else
                reportHidden(watched);
        }
        return false;
    }
    if (!isInput(event->type()))
        return false;
    // Dialogs, the reports the operation opens among them, keep their input.
    const QWidget *widget = widgetOf(watched);
    if (!widget || widget->window() != m_window)
        return false;
    emit inputDropped(watched, event);
    return true;
}

void OperationMonitor::showWait(KeepAlive::Reason reason, qint64 remainingMs)
{
    // Live reads between operations wait too; nobody waits for them.
    if (!m_running)
        return;
    m_dialog->showWait(reason, remainingMs);
    const bool longPause = reason == KeepAlive::Reason::Pause && remainingMs >= progressAfterMs;
    if (longPause && m_reports.isEmpty())
        m_dialog->show();
}

// The operator reads the report and clicks it away: no wait cursor, and no
// progress dialog saying that the window waits for the board. The next
// long pause brings the dialog back.
void OperationMonitor::reportShown(QObject *report)
{
    if (m_reports.contains(report))
        return;
    m_reports.insert(report);
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    if (m_dialog)
        m_dialog->hide();
}

void OperationMonitor::reportHidden(QObject *report)
{
    if (m_reports.remove(report))
        QApplication::restoreOverrideCursor();
}
