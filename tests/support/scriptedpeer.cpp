#include "scriptedpeer.h"

#include <chrono>

namespace {

QString describe(const termios &settings)
{
    const speed_t speed = cfgetospeed(&settings);
    const int baud = speed == B19200 ? 19200 : speed == B115200 ? 115200 : -int(speed);
    const tcflag_t size = settings.c_cflag & CSIZE;
    const bool hardwareFlow = settings.c_cflag & CRTSCTS;
    const bool softwareFlow = settings.c_iflag & (IXON | IXOFF);
    return QStringLiteral("%1%2 %3%4%5, %6")
        .arg(baud)
        .arg(cfgetispeed(&settings) == speed ? "" : " (other input speed)")
        .arg(size == CS8 ? 8 : size == CS7 ? 7 : size == CS6 ? 6 : 5)
        .arg(settings.c_cflag & PARENB ? (settings.c_cflag & PARODD ? 'O' : 'E') : 'N')
        .arg(settings.c_cflag & CSTOPB ? 2 : 1)
        .arg(hardwareFlow ? "hardware flow control" : softwareFlow ? "software flow control" : "no flow control");
}

} // namespace

ScriptedPeer::ScriptedPeer(int frameLength)
    : m_frameLength(frameLength)
    , m_thread([this] { run(); })
{
}

ScriptedPeer::~ScriptedPeer()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void ScriptedPeer::queueReply(const Reply &reply)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_replies.push_back(reply);
}

ScriptedPeer::Reply ScriptedPeer::pieces(const QByteArray &bytes, int gapMs, int lastDelayMs)
{
    Reply reply;
    for (int i = 0; i < bytes.size(); ++i)
        reply << Burst{bytes.mid(i, 1), i == 0 ? 0 : i == bytes.size() - 1 ? lastDelayMs : gapMs};
    return reply;
}

void ScriptedPeer::finish()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_abort = true;
    m_changed.notify_all();
    m_changed.wait(lock, [this] { return !m_answering; });
    m_abort = false;
    m_replies.clear();
    m_pending.clear();
    m_frames.clear();
    m_lineSettings.clear();
}

QList<QByteArray> ScriptedPeer::frames() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_frames;
}

QStringList ScriptedPeer::lineSettings() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lineSettings;
}

bool ScriptedPeer::waitForFrames(int count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_frames.size() >= count; });
}

void ScriptedPeer::run()
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

// Every complete frame takes the next reply; the bursts go out with the lock
// released, and finish() can cut a slow reply short.
void ScriptedPeer::answer(std::unique_lock<std::mutex> &lock)
{
    while (m_pending.size() >= m_frameLength) {
        m_frames << m_pending.left(m_frameLength);
        m_pending.remove(0, m_frameLength);
        m_lineSettings << describe(m_pty.lineSettings());
        m_changed.notify_all();
        if (m_replies.empty())
            continue;
        const Reply reply = m_replies.front();
        m_replies.pop_front();
        m_answering = true;
        for (const Burst &burst : reply) {
            if (m_changed.wait_for(lock, std::chrono::milliseconds(burst.delayBeforeMs),
                                   [this] { return m_abort || m_stop; }))
                break;
            lock.unlock();
            m_pty.write(burst.bytes);
            lock.lock();
        }
        m_answering = false;
        m_changed.notify_all();
    }
}
