#include "scriptedpeer.h"

#include <chrono>

ScriptedPeer::ScriptedPeer(int frameLength)
    : m_frameLength(frameLength)
    , m_thread([this] { run(); })
{
}

ScriptedPeer::~ScriptedPeer()
{
    m_stop = true;
    m_thread.join();
}

void ScriptedPeer::queueReply(const Reply &reply)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_replies.push_back(reply);
}

QList<QByteArray> ScriptedPeer::frames() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_frames;
}

bool ScriptedPeer::waitForFrames(int count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_frames.size() >= count; });
}

void ScriptedPeer::run()
{
    QByteArray pending;
    while (!m_stop) {
        pending += m_pty.read(20);
        while (pending.size() >= m_frameLength) {
            const QByteArray frame = pending.left(m_frameLength);
            pending.remove(0, m_frameLength);
            Reply reply;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_frames << frame;
                if (!m_replies.empty()) {
                    reply = m_replies.front();
                    m_replies.pop_front();
                }
            }
            m_arrived.notify_all();
            for (const Burst &burst : reply) {
                std::this_thread::sleep_for(std::chrono::milliseconds(burst.delayBeforeMs));
                m_pty.write(burst.bytes);
            }
        }
    }
}
