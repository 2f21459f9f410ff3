#ifndef OSCFRONT_H
#define OSCFRONT_H

#include "lensmotor.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QUdpSocket>
#include <QVariantList>

class LensService;
class QJsonObject;

// The OSC face of the lens: datagrams decoded by OscDecoder and queued with
// the service, and the subscribers that hear every change. The socket is Qt's,
// bound to exactly the address asked for; liblo reads and writes the messages.
class OscFront : public QObject
{
    Q_OBJECT

public:
    // How long a subscription lasts after its last subscribe.
    static constexpr int subscriptionMs = 10 * 60 * 1000;

    // Only loopback and the allowed senders are listened to.
    OscFront(LensService &service, BoardType board, const QList<QHostAddress> &allowed, QObject *parent = nullptr);

    // False, with *error saying why, when the socket cannot be bound.
    bool listen(const QHostAddress &address, quint16 port, QString *error);
    quint16 port() const { return m_socket.localPort(); }

    // One OSC message as it goes on the line.
    static QByteArray message(const char *path, const QVariantList &arguments);

private:
    struct Subscriber
    {
        QHostAddress address;
        quint16 port;
        // The port the subscribe came from, which an unsubscribe comes from too.
        quint16 senderPort;
        QDeadlineTimer until;
    };

    void readDatagrams();
    void handle(const QByteArray &datagram, const QHostAddress &sender, quint16 senderPort);
    // A request refused for what it asked (status 400) is told to its sender.
    void tellRefusal(int status, const QString &error, const QHostAddress &sender, quint16 senderPort);
    bool isAllowed(const QHostAddress &sender) const;
    void subscribe(const QHostAddress &sender, quint16 senderPort, quint16 port);
    void unsubscribe(const QHostAddress &sender, quint16 senderPort);
    // The change in OSC messages: positions, maxima, positions in the lens's
    // units, running motors, errors.
    static QList<QByteArray> messages(const QJsonObject &delta);
    void sendToSubscribers(const QList<QByteArray> &datagrams);

    LensService &m_service;
    BoardType m_board;
    QList<QHostAddress> m_allowed;
    QUdpSocket m_socket;
    QList<Subscriber> m_subscribers;
};

#endif // OSCFRONT_H
