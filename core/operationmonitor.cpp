#include "operationmonitor.h"

#include "operationprogress.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMouseEvent>
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

// A drag: held back with the press and release around it, so that it takes
// place after all. A pointer that merely passes over the window is not.
bool isDrag(const QEvent *event)
{
    return event->type() == QEvent::MouseMove
        && static_cast<const QMouseEvent *>(event)->buttons() != Qt::NoButton;
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
}

// Only a window deleted from inside its own operation gets here while one
// runs; the drivers must not call into a monitor that is gone.
OperationMonitor::~OperationMonitor()
{
    if (!m_running)
        return;
    KeepAlive::setFunction(std::move(m_previousKeepAlive));
    QApplication::restoreOverrideCursor();
}

bool OperationMonitor::begin(const QString &step, Mode mode)
{
    if (m_running)
        return false;
    m_running = true;
    m_mode = mode;
    m_clock.start();
    qApp->installEventFilter(this);
    if (m_mode == Mode::Busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // Made now, since it counts the operation's pauses before it shows.
        if (!m_dialog)
            m_dialog = m_makeProgress(m_window);
        m_dialog->start(step);
    }
    m_previousKeepAlive = KeepAlive::setFunction(
        [this](KeepAlive::Reason reason, qint64 remainingMs) { keepAlive(reason, remainingMs); });
    return true;
}

void OperationMonitor::setStep(const QString &step)
{
    if (m_running && m_mode == Mode::Busy)
        m_dialog->setStep(step);
}

void OperationMonitor::end()
{
    KeepAlive::setFunction(std::move(m_previousKeepAlive));
    m_previousKeepAlive = nullptr;
    if (m_dialog && m_dialog->isVisible()) {
        m_dialog->hide();
        m_window->activateWindow();
    }
    // Input that came in since the last keep-alive is dropped (or held back)
    // like the rest, and the window has its activation back before the next
    // click.
    QCoreApplication::processEvents();
    // A report deleted while shown never says it hid; its cursor goes too.
    for (qsizetype i = 0; i < m_reports.size(); ++i)
        QApplication::restoreOverrideCursor();
    m_reports.clear();
    if (m_mode == Mode::Busy)
        QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(this);
    m_running = false;
    // Posted, so they come in their order and each call after the input
    // before it; a call that finds another operation running waits again.
    // A window about to close takes none of it: nothing more goes to the
    // board after the operation's own frames.
    std::vector<Deferred> deferred;
    deferred.swap(m_deferred);
    if (m_closeRequested)
        deferred.clear();
    for (Deferred &item : deferred) {
        if (item.event && item.receiver)
            QCoreApplication::postEvent(item.receiver, item.event.release());
        else if (item.call && item.receiver)
            QMetaObject::invokeMethod(
                item.receiver,
                [this, context = item.receiver, call = std::move(item.call)] { runWhenIdle(context, call); },
                Qt::QueuedConnection);
    }
    if (m_closeRequested) {
        m_closeRequested = false;
        // After the slot that ran the operation has returned.
        QTimer::singleShot(0, m_window, [window = m_window] { window->close(); });
    }
}

bool OperationMonitor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close && watched == m_window) {
        // The driver is in the middle of a call; the window closes once it is done.
        m_closeRequested = true;
        event->ignore();
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
    const bool quiet = m_mode == Mode::Quiet;
    if (!isInput(event->type()) && !(quiet && isDrag(event)))
        return false;
    // Dialogs, the reports the operation opens among them, keep their input.
    const QWidget *widget = widgetOf(watched);
    if (!widget || widget->window() != m_window)
        return false;
    if (quiet)
        m_deferred.push_back({watched, std::unique_ptr<QEvent>(event->clone()), {}});
    else
        emit inputDropped(watched, event);
    return true;
}

void OperationMonitor::runWhenIdle(QObject *context, std::function<void()> call)
{
    if (!m_running)
        call();
    else
        m_deferred.push_back({context, nullptr, std::move(call)});
}

void OperationMonitor::keepAlive(KeepAlive::Reason reason, qint64 remainingMs)
{
    if (m_mode == Mode::Quiet) {
        QCoreApplication::processEvents();
        return;
    }
    m_dialog->showWait(reason, remainingMs);
    const bool longPause = reason == KeepAlive::Reason::Pause && remainingMs >= progressAfterMs;
    if (longPause || m_clock.elapsed() >= progressAfterMs)
        m_dialog->show();
    QCoreApplication::processEvents();
}

// The operator reads the report and clicks it away: no wait cursor, and no
// progress dialog saying that the window waits for the board. The next
// keep-alive brings the dialog back if the operation goes on long.
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
