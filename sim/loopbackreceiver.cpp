#include "loopbackreceiver.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

#include <chrono>
#include <utility>

LoopbackReceiver::LoopbackReceiver(std::function<int()> alongside)
    : m_thread([this, alongside] {
        QUdpSocket socket;
        socket.bind(QHostAddress::LocalHost, 0);
        m_port = socket.localPort();
        while (!m_stop) {
            if (!socket.waitForReadyRead(20))
                continue;
            while (socket.hasPendingDatagrams()) {
                const qint64 atNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count();
                const QByteArray datagram = socket.receiveDatagram().data();
                const int value = alongside ? alongside() : 0;
                const std::lock_guard<std::mutex> lock(m_mutex);
                m_heard.append({atNs, datagram, value});
            }
        }
    })
{
    while (m_port == 0)
        std::this_thread::yield();
}

LoopbackReceiver::~LoopbackReceiver()
{
    m_stop = true;
    m_thread.join();
}

QList<LoopbackReceiver::Heard> LoopbackReceiver::take()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return std::exchange(m_heard, {});
}
