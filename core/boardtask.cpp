#include "boardtask.h"

#include <QThread>


BoardTask::BoardTask(LensSession::Threading threading, QObject *parent)
    : QObject(parent)
    , m_threading(threading)
{
}

BoardTask::~BoardTask()
{
    if (!m_thread)
        return;
    m_thread->wait();
    delete m_thread;
}

void BoardTask::start(const Work &work, const Then &then)
{
    if (m_running)
        return;
    m_running = true;
    const auto finish = [this, then] {
        m_running = false;
        then();
    };
    if (m_threading == LensSession::Threading::CallersThread) {
        QMetaObject::invokeMethod(this, [work, finish] {
            work();
            finish();
        }, Qt::QueuedConnection);
        return;
    }
    m_thread = QThread::create(work);
    m_thread->setObjectName(QStringLiteral("board look"));
    connect(m_thread, &QThread::finished, this, [this, finish] {
        m_thread->deleteLater();
        m_thread = nullptr;
        finish();
    });
    m_thread->start();
}
