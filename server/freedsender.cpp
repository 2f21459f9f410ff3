#include "freedsender.h"

#include "freedpacket.h"

#include <QUdpSocket>

#include <chrono>
#include <cmath>

FreedSender::FreedSender(const LensProfile *profile)
    : m_profile(profile)
{
}

FreedSender::~FreedSender()
{
    stop();
}

qint64 FreedSender::nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void FreedSender::start(const Setup &setup)
{
    stop();
    m_stopping = false;
    m_thread = std::thread([this, setup] { run(setup); });
}

void FreedSender::stop()
{
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void FreedSender::addRead(int motor, qint64 atNs, int position, std::optional<int> heading)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_tracks[size_t(motor)].add(atNs, position, heading);
}

void FreedSender::setMaximum(int motor, int maximum)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_maxima[size_t(motor)] = maximum;
}

FreedPacket::Fields FreedSender::fieldsAt(qint64 atNs, const Setup &setup)
{
    FreedValues::Positions positions;
    FreedValues::Maxima maxima;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        for (size_t i = 0; i < m_tracks.size(); ++i)
            positions[i] = m_tracks[i].positionAt(atNs);
        maxima = m_maxima;
    }
    FreedPacket::Fields fields;
    fields.camera = setup.camera;
    FreedValues::fill(&fields, setup.values, positions, maxima, m_profile);
    return fields;
}

void FreedSender::run(const Setup &setup)
{
    QUdpSocket socket;
    const double periodNs = 1e9 / setup.rate;
    const qint64 delayNs = qint64(setup.delayMs) * 1'000'000;
    const qint64 startNs = nowNs();
    unsigned counter = 0;
    for (qint64 n = 0;; ++n) {
        qint64 dueNs = startNs + std::llround(double(n) * periodNs);
        const qint64 lateNs = nowNs() - dueNs;
        // After a stall (a suspended machine), on from now, not a burst of
        // the packets missed.
        if (lateNs > qint64(periodNs)) {
            n += qint64(double(lateNs) / periodNs);
            dueNs = startNs + std::llround(double(n) * periodNs);
        }
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            const std::chrono::steady_clock::time_point due{std::chrono::nanoseconds(dueNs)};
            if (m_wake.wait_until(lock, due, [this] { return m_stopping; }))
                return;
        }
        FreedPacket::Fields fields = fieldsAt(dueNs - delayNs, setup);
        fields.counter = counter++ & 0xF;
        const QByteArray packet = FreedPacket::build(fields);
        for (const auto &target : setup.targets)
            socket.writeDatagram(packet, target.first, target.second);
    }
}
