#include "replypeer.h"

#include <chrono>

ReplyPeer::ReplyPeer(int frameLength)
    : m_frameLength(frameLength)
    , m_thread([this] { run(); })
{
}

ReplyPeer::~ReplyPeer()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void ReplyPeer::serve(const QList<Reply> &script)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_script.assign(script.begin(), script.end());
}

void ReplyPeer::finish()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_abort = true;
    m_changed.notify_all();
    m_changed.wait(lock, [this] { return !m_busy; });
    m_abort = false;
    m_script.clear();
    m_pending.clear();
}

void ReplyPeer::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stop) {
        lock.unlock();
        const QByteArray bytes = m_pty.read(5);
        lock.lock();
        m_pending += bytes;
        answer(lock);
    }
}

// Every complete frame takes the next reply; the pieces go out with the lock
// released, so finish() can cut a slow reply short.
void ReplyPeer::answer(std::unique_lock<std::mutex> &lock)
{
    while (m_pending.size() >= m_frameLength) {
        m_pending.remove(0, m_frameLength);
        if (m_script.empty())
            continue;
        const Reply reply = m_script.front();
        m_script.pop_front();
        m_busy = true;
        for (const Piece &piece : reply) {
            if (m_changed.wait_for(lock, std::chrono::milliseconds(piece.delayBeforeMs),
                                   [this] { return m_abort || m_stop; }))
                break;
            lock.unlock();
            m_pty.write(piece.bytes);
            lock.lock();
        }
        m_busy = false;
        m_changed.notify_all();
    }
}
