#ifndef VISCAFRONT_H
#define VISCAFRONT_H

#include "lensmotor.h"
#include "lenssession.h"
#include "viscadecoder.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTimer>
#include <QUdpSocket>

#include <array>
#include <list>
#include <optional>

class LensService;
class QJsonObject;

// The VISCA-over-IP face of the lens, for PTZ joysticks, switchers and
// control-surface hubs: datagrams decoded by ViscaDecoder and queued with the
// service, each command answered by an ACK and then its Completion, as a
// camera answers. Each sender has a camera's two sockets: a command holds one
// from its ACK to its Completion, and a third that comes while both are held
// is answered "buffer full" (a stop is carried out even then).
class ViscaFront : public QObject
{
    Q_OBJECT

public:
    static constexpr int sockets = 2;
    // A goto or a preset call has ended once its motors' positions have stood
    // for this long: the session reads a moving motor every liveReadMs.
    static constexpr int standMs = 3 * LensSession::liveReadMs;

    // Only loopback and the allowed senders are listened to. A run a sender
    // starts goes on until its stop, a limit, or holdMs with no datagram at
    // all from that sender (a joystick polls the positions while held).
    ViscaFront(LensService &service, BoardType board, const QList<QHostAddress> &allowed, int holdMs,
               QObject *parent = nullptr);

    // False, with *error saying why, when the socket cannot be bound.
    bool listen(const QHostAddress &address, quint16 port, QString *error);
    quint16 port() const { return m_socket.localPort(); }

private:
    struct Command
    {
        quint64 id;
        ViscaDecoding message;
        // The motors whose standing completes it; none: completed once the
        // session has carried it out.
        QList<int> motors;
        bool carriedOut = false;
        // Since its motors' positions last changed.
        QElapsedTimer stood;
    };
    struct Sender
    {
        QHostAddress address;
        quint16 port;
        QDeadlineTimer heard;
        std::array<std::optional<Command>, sockets> held;
    };

    void readDatagrams();
    void handle(const QByteArray &datagram, const QHostAddress &address, quint16 port);
    bool isAllowed(const QHostAddress &sender) const;
    Sender &senderAt(const QHostAddress &address, quint16 port);
    void inquire(const Sender &sender, const ViscaDecoding &message);
    void command(Sender &sender, const ViscaDecoding &message);
    // The session's answer to the command held on socket (0: held on none).
    void carriedOut(const QHostAddress &address, quint16 port, const ViscaDecoding &message, int socket,
                    quint64 id, bool done);
    void send(const QHostAddress &address, quint16 port, const QByteArray &datagram);
    void positionsChanged(const QJsonObject &delta);
    // Completes the moves that have ended, and lets go of the runs of the
    // senders gone quiet.
    void tick();

    LensService &m_service;
    BoardType m_board;
    QList<QHostAddress> m_allowed;
    int m_holdMs;
    QUdpSocket m_socket;
    // Their addresses hold their runs in the session.
    std::list<Sender> m_senders;
    QTimer m_tick;
    quint64 m_lastId = 0;
};

#endif // VISCAFRONT_H
