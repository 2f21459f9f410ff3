// Linked into a program rather than called by it: installs itself when the
// application object is made, so the program's own main() runs unchanged. Once
// the first window's first expose has been handled (the window has been
// painted), it writes "shown" to standard output and ends the event loop; the
// bench times the program's start from its launch to that line.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWindow>

#include <cstdio>

namespace {

class FirstExposeProbe : public QObject
{
public:
    explicit FirstExposeProbe(QObject *parent)
        : QObject(parent)
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const auto *window = qobject_cast<QWindow *>(watched);
        if (!m_seen && event->type() == QEvent::Expose && window && window->isExposed()) {
            m_seen = true;
            // Queued, so the line goes out after the expose has been painted.
            QTimer::singleShot(0, this, [] {
                std::puts("shown");
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    bool m_seen = false;
};

void installProbe()
{
    QCoreApplication *application = QCoreApplication::instance();
    application->installEventFilter(new FirstExposeProbe(application));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)
