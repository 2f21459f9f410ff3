#ifndef SCRIPTEDPEER_H
#define SCRIPTEDPEER_H

#include "pseudoterminal.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// A board that answers each received frame with the next scripted reply, on a
// pseudo-terminal of its own and a thread of its own, so the blocking driver on
// the test's thread gets its bytes while it waits. The fuzz targets keep one
// for all their runs: opening the terminal is the slow part.
class ScriptedPeer
{
public:
    struct Burst
    {
        QByteArray bytes;
        int delayBeforeMs = 0;
    };
    using Reply = QList<Burst>;

    // frameLength: how many bytes make one frame of the board's protocol.
    explicit ScriptedPeer(int frameLength);
    ~ScriptedPeer();
    ScriptedPeer(const ScriptedPeer &) = delete;
    ScriptedPeer &operator=(const ScriptedPeer &) = delete;

    QString portName() const { return m_pty.slavePath(); }

    // The reply to the next unanswered frame; a frame with no reply queued gets
    // none.
    void queueReply(const Reply &reply);
    void queueReply(const QByteArray &bytes) { queueReply(Reply{{bytes, 0}}); }
    // bytes one at a time, gapMs apart, as a USB serial adapter may hand them
    // over; the last one after lastDelayMs.
    static Reply pieces(const QByteArray &bytes, int gapMs, int lastDelayMs);
    // Drops the replies still queued and cuts short one under way, forgets
    // the frames, and returns once the line is quiet, so that one run never
    // reaches into the next.
    void finish();

    // The frames received so far, in order.
    QList<QByteArray> frames() const;
    // The line settings in force when each frame arrived, such as
    // "19200 8N1, no flow control".
    QStringList lineSettings() const;
    // Waits until count frames have arrived.
    bool waitForFrames(int count, int timeoutMs) const;

private:
    void run();
    void answer(std::unique_lock<std::mutex> &lock);

    PseudoTerminal m_pty;
    const int m_frameLength;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::deque<Reply> m_replies;
    QByteArray m_pending;
    QList<QByteArray> m_frames;
    QStringList m_lineSettings;
    bool m_answering = false;
    bool m_abort = false;
    bool m_stop = false;
    std::thread m_thread;
};

#endif // SCRIPTEDPEER_H
