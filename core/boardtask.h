#ifndef BOARDTASK_H
#define BOARDTASK_H

#include "lenssession.h"

#include <QObject>

#include <functional>

class QThread;

// Board work that comes before any lens session: the look whether a board
// answers on a port, with drivers of its own. It is carried out on a thread
// of its own, so the window never waits for the board; its end is heard on
// the thread that started it. With Threading::CallersThread it runs on that
// thread, in its turn.
class BoardTask : public QObject
{
    Q_OBJECT

public:
    using Work = std::function<void()>;
    using Then = std::function<void()>;

    explicit BoardTask(LensSession::Threading threading, QObject *parent = nullptr);
    // Waits for work under way: its drivers are on the port.
    ~BoardTask() override;

    bool isRunning() const { return m_running; }
    // Nothing when work is under way already.
    void start(const Work &work, const Then &then);

private:
    LensSession::Threading m_threading;
    QThread *m_thread = nullptr;
    bool m_running = false;
};

#endif // BOARDTASK_H
