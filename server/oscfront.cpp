#include "oscfront.h"

#include "lensservice.h"
#include "oscdecoder.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QNetworkDatagram>

#include <lo/lo.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// Where a subscriber hears a position in the lens's units, by its key in
// the status; null for any other key.
const char *unitPath(const QString &key)
{
    static const std::pair<const char *, const char *> paths[] = {
        {"zoomMm", "/lens/zoom/mm"}, {"focusM", "/lens/focus/m"}, {"irisF", "/lens/iris/f"}};
    for (const auto &[name, path] : paths) {
        if (key == QLatin1String(name))
            return path;
    }
    return nullptr;
}

} // namespace

OscFront::OscFront(LensService &service, BoardType board, const QList<QHostAddress> &allowed, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_board(board)
    , m_allowed(allowed)
{
    connect(&m_socket, &QUdpSocket::readyRead, this, &OscFront::readDatagrams);
    connect(&m_service, &LensService::changed, this,
            [this](const QJsonObject &delta) { sendToSubscribers(messages(delta)); });
    connect(&m_service, &LensService::failed, this, [this](const QString &error) {
        sendToSubscribers({message("/lens/error", {error})});
    });
}

bool OscFront::listen(const QHostAddress &address, quint16 port, QString *error)
{
    if (m_socket.bind(address, port))
        return true;
    *error = m_socket.errorString();
    return false;
}

QByteArray OscFront::message(const char *path, const QVariantList &arguments)
{
    const lo_message out = lo_message_new();
    for (const QVariant &argument : arguments) {
        if (argument.typeId() == QMetaType::Int)
            lo_message_add_int32(out, argument.toInt());
        else if (argument.typeId() == QMetaType::Double && std::isinf(argument.toDouble()))
            lo_message_add_infinitum(out);
        else if (argument.typeId() == QMetaType::Double || argument.typeId() == QMetaType::Float)
            lo_message_add_float(out, argument.toFloat());
        else
            lo_message_add_string(out, argument.toString().toUtf8().constData());
    }
    size_t size = 0;
    void *const data = lo_message_serialise(out, path, nullptr, &size);
    const QByteArray datagram(static_cast<const char *>(data), qsizetype(size));
    std::free(data);
    lo_message_free(out);
    return datagram;
}

void OscFront::readDatagrams()
{
    while (m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket.receiveDatagram();
        if (datagram.isValid())
            handle(datagram.data(), datagram.senderAddress(), quint16(datagram.senderPort()));
    }
}

void OscFront::handle(const QByteArray &datagram, const QHostAddress &sender, quint16 senderPort)
{
    if (!isAllowed(sender))
        return;
    const OscDecoding decoding = OscDecoder::decodePacket(m_board, datagram);
    std::optional<SessionRequest> request = decoding.request;
    // A value the profile has no position for is refused as a bad message is.
    const QString error = request && decoding.value ? m_service.resolve(&*request, *decoding.value) : decoding.error;
    if (!error.isEmpty()) {
        m_socket.writeDatagram(message("/lens/error", {error}), sender, senderPort);
        return;
    }
    if (decoding.subscription == OscDecoding::Subscription::Subscribe)
        subscribe(sender, senderPort, decoding.port ? quint16(decoding.port) : senderPort);
    else if (decoding.subscription == OscDecoding::Subscription::Unsubscribe)
        unsubscribe(sender, senderPort);
    else if (decoding.tracking || request) {
        const auto tell = [this, sender, senderPort](const LensService::Reply &reply) {
            tellRefusal(reply.status, reply.body.value(QLatin1String("error")).toString(), sender, senderPort);
        };
        if (decoding.tracking)
            tell(m_service.setTracking(*decoding.tracking));
        else
            m_service.submit(*request, tell);
    }
}

void OscFront::tellRefusal(int status, const QString &error, const QHostAddress &sender, quint16 senderPort)
{
    // The board's failures reach every subscriber; a request refused for
    // what it asked is the sender's own to hear.
    if (status == 400)
        m_socket.writeDatagram(message("/lens/error", {error}), sender, senderPort);
}

bool OscFront::isAllowed(const QHostAddress &sender) const
{
    if (sender.isLoopback())
        return true;
    for (const QHostAddress &allowed : m_allowed) {
        if (allowed.isEqual(sender, QHostAddress::TolerantConversion))
            return true;
    }
    return false;
}

void OscFront::subscribe(const QHostAddress &sender, quint16 senderPort, quint16 port)
{
    // A subscription is its destination; renewing it does not double it.
    m_subscribers.removeIf([&](const Subscriber &subscriber) {
        return subscriber.address == sender && (subscriber.port == port || subscriber.senderPort == senderPort);
    });
    m_subscribers.append({sender, port, senderPort, QDeadlineTimer(subscriptionMs)});
    // The subscriber starts from the whole picture.
    QJsonObject all = m_service.status();
    all.remove(QStringLiteral("board"));
    all.remove(QStringLiteral("port"));
    for (const QByteArray &datagram : messages(all))
        m_socket.writeDatagram(datagram, sender, port);
}

void OscFront::unsubscribe(const QHostAddress &sender, quint16 senderPort)
{
    m_subscribers.removeIf([&](const Subscriber &subscriber) {
        return subscriber.address == sender && (subscriber.senderPort == senderPort || subscriber.port == senderPort);
    });
}

QList<QByteArray> OscFront::messages(const QJsonObject &delta)
{
    QList<QByteArray> datagrams;
    for (auto it = delta.begin(); it != delta.end(); ++it) {
        const QString key = it.key();
        const char *unit = unitPath(key);
        const bool isMaximum = key.endsWith(QLatin1String("Max"));
        const QString motor = isMaximum ? key.chopped(3) : key;
        if (key == QLatin1String("running")) {
            QVariantList names;
            for (const QJsonValue &name : it.value().toArray())
                names << name.toString();
            datagrams << message("/lens/running", names);
        } else if (key == QLatin1String("tracking")) {
            datagrams << message("/lens/tracking", {it.value().toBool() ? 1 : 0});
        } else if (key == QLatin1String("error")) {
            datagrams << message("/lens/error", {it.value().toString()});
        } else if (unit && !it.value().isNull()) {
            const bool infinite = it.value() == QJsonValue(QStringLiteral("inf"));
            datagrams << message(unit, {infinite ? std::numeric_limits<double>::infinity() : it.value().toDouble()});
        } else if (it.value().isDouble() && LensMotor::named(motor)) {
            const QByteArray path =
                "/lens/" + motor.toLatin1() + (isMaximum ? QByteArrayLiteral("/max") : QByteArrayLiteral("/position"));
            datagrams << message(path.constData(), {it.value().toInt()});
        }
    }
    return datagrams;
}

void OscFront::sendToSubscribers(const QList<QByteArray> &datagrams)
{
    m_subscribers.removeIf([](const Subscriber &subscriber) { return subscriber.until.hasExpired(); });
    for (const Subscriber &subscriber : m_subscribers) {
        for (const QByteArray &datagram : datagrams)
            m_socket.writeDatagram(datagram, subscriber.address, subscriber.port);
    }
}
