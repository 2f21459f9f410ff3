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
    m_stop = true;
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
                m_lineSettings << describe(m_pty.lineSettings());
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
