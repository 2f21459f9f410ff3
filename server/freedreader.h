#ifndef FREEDREADER_H
#define FREEDREADER_H

#include <QObject>
#include <QTimer>

#include <array>
#include <optional>

class FreedSender;
class LensSession;

// Reads zoom, focus and iris in turn for as long as it runs, so that a move
// is seen whoever makes it: the server's clients, the window, the tool. A
// motor that moves is read again as soon as its turn comes, one that stands
// every standingReadMs. Each read waits in the session behind every request
// of a front end, one at a time, so that a stop waits for one read at most.
// The reads go to the sender with the time they were made.
class FreedReader : public QObject
{
    Q_OBJECT

public:
    // How often a motor that stands is read, so that a move that another
    // program starts shows within 100 ms, its read's exchange included.
    static constexpr int standingReadMs = 80;
    // A motor whose position changed this recently counts as moving.
    static constexpr int movingForMs = 250;

    FreedReader(LensSession &session, FreedSender &sender, QObject *parent = nullptr);

    void start();
    void stop();
    // Reads made since the start, motor by motor.
    const std::array<int, 3> &readCounts() const { return m_counts; }

private:
    struct Stamp;
    void readNext();
    void received(int motor, const Stamp &stamp);
    // Whether motor's turn has come at nowNs.
    bool isDue(int motor, qint64 nowNs) const;

    LensSession &m_session;
    FreedSender &m_sender;
    bool m_on = false;
    bool m_reading = false;
    int m_next = 0;
    QTimer m_wait;
    std::array<std::optional<int>, 3> m_positions;
    std::array<qint64, 3> m_readAt{};
    std::array<qint64, 3> m_changedAt{};
    std::array<int, 3> m_counts{};
};

#endif // FREEDREADER_H
