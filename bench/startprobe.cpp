#include "startprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace {

class FirstShowFilter : public QObject
{
public:
    explicit FirstShowFilter(QWidget *window)
        : QObject(window)
        , m_window(window)
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_reported && event->type() == QEvent::Expose && watched == m_window->windowHandle()
            && m_window->windowHandle()->isExposed()) {
            m_reported = true;
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
    QWidget *m_window;
    bool m_reported = false;
};

} // namespace

void reportFirstShow(QWidget *window)
{
    QCoreApplication::instance()->installEventFilter(new FirstShowFilter(window));
}
