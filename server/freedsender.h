#ifndef FREEDSENDER_H
#define FREEDSENDER_H

#include "freedvalues.h"
#include "motortrack.h"

#include <QHostAddress>
#include <QList>
#include <QPair>

#include <array>
#include <condition_variable>
#include <mutex>
#include <thread>

class LensProfile;

// Sends the FreeD packets on a thread of its own, at times a steady clock
// sets (the n-th at start + n/rate, never a sleep after the last), so that
// neither the server's other work nor the board's exchanges shift them.
// Each packet carries the positions as the reads put them its hold-back
// before its send time.
class FreedSender
{
public:
    struct Setup
    {
        QList<QPair<QHostAddress, quint16>> targets;
        double rate = 50;
        quint8 camera = 1;
        int delayMs = 0;
        FreedValues::Mode values = FreedValues::Mode::Scaled;
    };

    // profile, which Lens values need, outlives the sender; null for none.
    explicit FreedSender(const LensProfile *profile);
    ~FreedSender();
    FreedSender(const FreedSender &) = delete;
    FreedSender &operator=(const FreedSender &) = delete;

    // Sends by setup from now on, in place of what it sent by before.
    void start(const Setup &setup);
    void stop();

    // What the reads found, from any thread.
    void addRead(int motor, qint64 atNs, int position, std::optional<int> heading);
    void setMaximum(int motor, int maximum);

    // The steady clock reads are timed on.
    static qint64 nowNs();

private:
    void run(const Setup &setup);
    FreedPacket::Fields fieldsAt(qint64 atNs, const Setup &setup);

    const LensProfile *m_profile;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::array<MotorTrack, 3> m_tracks;
    FreedValues::Maxima m_maxima;
};

#endif // FREEDSENDER_H
