#ifndef REPLYPEER_H
#define REPLYPEER_H

#include "pseudoterminal.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// A board on a pseudo-terminal that answers each frame the driver sends with
// the next reply of a script, piece by piece with the given delays, from a
// thread of its own while the driver waits on the caller's. One per process:
// opening the terminal is the slow part.
class ReplyPeer
{
public:
    struct Piece
    {
        QByteArray bytes;
        int delayBeforeMs = 0;
    };
    using Reply = QList<Piece>;

    explicit ReplyPeer(int frameLength);
    ~ReplyPeer();
    ReplyPeer(const ReplyPeer &) = delete;
    ReplyPeer &operator=(const ReplyPeer &) = delete;

    QString portName() const { return m_pty.slavePath(); }

    // The replies to the frames that arrive from now on, in order; later
    // frames get none.
    void serve(const QList<Reply> &script);
    // Drops what is left of the script and any reply still under way, and
    // returns once the line is quiet, so one input never reaches into the
    // next.
    void finish();

private:
    void run();
    void answer(std::unique_lock<std::mutex> &lock);

    PseudoTerminal m_pty;
    const int m_frameLength;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Reply> m_script;
    QByteArray m_pending;
    bool m_busy = false;
    bool m_abort = false;
    bool m_stop = false;
    std::thread m_thread;
};

#endif // REPLYPEER_H
