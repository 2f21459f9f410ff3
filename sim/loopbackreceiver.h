#ifndef LOOPBACKRECEIVER_H
#define LOOPBACKRECEIVER_H

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

// The studio's side of a UDP output, such as a FreeD receiver: datagrams
// taken on a loopback port of its own, on a thread of its own, so that each
// is timed as it arrives whatever the caller's thread is doing.
class LoopbackReceiver
{
public:
    struct Heard
    {
        // On the steady clock.
        qint64 atNs;
        QByteArray datagram;
        // What alongside gave as the datagram arrived (where the simulated
        // board truly was, say); 0 without it.
        int alongside;
    };

    explicit LoopbackReceiver(std::function<int()> alongside = {});
    ~LoopbackReceiver();
    LoopbackReceiver(const LoopbackReceiver &) = delete;
    LoopbackReceiver &operator=(const LoopbackReceiver &) = delete;

    quint16 port() const { return m_port; }
    // What arrived since the last take.
    QList<Heard> take();

private:
    std::atomic<quint16> m_port{0};
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    QList<Heard> m_heard;
    std::thread m_thread;
};

#endif // LOOPBACKRECEIVER_H
