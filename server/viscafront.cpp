#include "viscafront.h"

#include "lensservice.h"

#include <QJsonObject>
#include <QNetworkDatagram>
#include <QPointer>

#include <algorithm>

namespace {

using Error = ViscaDecoding::Error;

QString motorName(int motor)
{
    return QLatin1String(LensMotor::all()[size_t(motor)].name);
}

} // namespace

ViscaFront::ViscaFront(LensService &service, BoardType board, const QList<QHostAddress> &allowed, int holdMs,
                       QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_board(board)
    , m_allowed(allowed)
    , m_holdMs(holdMs)
{
    m_tick.setInterval(LensSession::liveReadMs);
    connect(&m_tick, &QTimer::timeout, this, &ViscaFront::tick);
    connect(&m_socket, &QUdpSocket::readyRead, this, &ViscaFront::readDatagrams);
    connect(&m_service, &LensService::changed, this, &ViscaFront::positionsChanged);
}

bool ViscaFront::listen(const QHostAddress &address, quint16 port, QString *error)
{
    if (m_socket.bind(address, port))
        return true;
    *error = m_socket.errorString();
    return false;
}

void ViscaFront::readDatagrams()
{
    while (m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket.receiveDatagram();
        if (datagram.isValid())
            handle(datagram.data(), datagram.senderAddress(), quint16(datagram.senderPort()));
    }
}

void ViscaFront::handle(const QByteArray &datagram, const QHostAddress &address, quint16 port)
{
    if (!isAllowed(address))
        return;
    // Whatever it says, the sender is there: its runs go on.
    Sender &sender = senderAt(address, port);
    sender.heard.setRemainingTime(m_holdMs);
    const ViscaDecoding message = ViscaDecoder::decode(m_board, datagram);
    switch (message.kind) {
    case ViscaDecoding::Kind::Ignored:
        break;
    case ViscaDecoding::Kind::SequenceReset:
        send(address, port, ViscaDecoder::resetDone(message));
        break;
    case ViscaDecoding::Kind::Error:
        send(address, port, ViscaDecoder::reply(message, ViscaDecoder::error(message.address, 0, message.error)));
        break;
    case ViscaDecoding::Kind::Inquiry:
        inquire(sender, message);
        break;
    case ViscaDecoding::Kind::Command:
        command(sender, message);
        break;
    }
}

bool ViscaFront::isAllowed(const QHostAddress &sender) const
{
    if (sender.isLoopback())
        return true;
    return std::any_of(m_allowed.begin(), m_allowed.end(), [&sender](const QHostAddress &allowed) {
        return allowed.isEqual(sender, QHostAddress::TolerantConversion);
    });
}

ViscaFront::Sender &ViscaFront::senderAt(const QHostAddress &address, quint16 port)
{
    const auto known = std::find_if(m_senders.begin(), m_senders.end(), [&](const Sender &sender) {
        return sender.address == address && sender.port == port;
    });
    if (known != m_senders.end())
        return *known;
    m_tick.start();
    return m_senders.emplace_back(Sender{address, port, {}, {}});
}

void ViscaFront::inquire(const Sender &sender, const ViscaDecoding &message)
{
    const QJsonObject status = m_service.status();
    const QString name = QLatin1String(message.motor->name);
    const QJsonValue position = status.value(name);
    const QJsonValue maximum = status.value(name + QStringLiteral("Max"));
    const QByteArray answer = position.isDouble() && maximum.isDouble()
        ? ViscaDecoder::position(message.address, *message.motor, position.toInt(), maximum.toInt())
        : ViscaDecoder::error(message.address, 0, Error::NotExecutable);
    send(sender.address, sender.port, ViscaDecoder::reply(message, answer));
}

void ViscaFront::command(Sender &sender, const ViscaDecoding &message)
{
    SessionRequest request = message.request;
    const auto reply = [&](const QByteArray &visca) {
        send(sender.address, sender.port, ViscaDecoder::reply(message, visca));
    };
    const auto free = std::find_if(sender.held.begin(), sender.held.end(),
                                   [](const std::optional<Command> &held) { return !held; });
    const int socket = free == sender.held.end() ? 0 : int(free - sender.held.begin()) + 1;
    // A stop is never refused: it waits on no socket.
    if (socket == 0 && request.kind != SessionRequest::Kind::Stop) {
        reply(ViscaDecoder::error(message.address, 0, Error::BufferFull));
        return;
    }
    QList<int> motors;
    if (request.kind == SessionRequest::Kind::Goto) {
        // Full scale is the motor's maximum, whatever soft limits the lens
        // keeps to, so that the positions inquired read back as sent.
        const QJsonValue maximum = m_service.status().value(QLatin1String(request.motor->name) + QStringLiteral("Max"));
        if (!maximum.isDouble()) {
            reply(ViscaDecoder::error(message.address, 0, Error::NotExecutable));
            return;
        }
        request.value = qRound(request.share * maximum.toInt());
        request.share = -1;
        motors << request.motor->index();
    } else if (request.kind == SessionRequest::Kind::PresetCall) {
        for (const LensMotor &motor : LensMotor::all()) {
            if (motor.isOn(m_board))
                motors << motor.index();
        }
    } else if (request.kind == SessionRequest::Kind::Run) {
        request.holder = &sender;
    }
    const quint64 id = ++m_lastId;
    if (socket > 0)
        sender.held[size_t(socket - 1)] = Command{id, message, motors, false, {}};
    reply(ViscaDecoder::ack(message.address, socket));
    const QHostAddress address = sender.address;
    const quint16 port = sender.port;
    m_service.submit(request, [front = QPointer<ViscaFront>(this), address, port, message, socket,
                               id](const LensService::Reply &answer) {
        if (front)
            front->carriedOut(address, port, message, socket, id, answer.status == 200);
    });
}

void ViscaFront::carriedOut(const QHostAddress &address, quint16 port, const ViscaDecoding &message, int socket,
                            quint64 id, bool done)
{
    const auto sender = std::find_if(m_senders.begin(), m_senders.end(), [&](const Sender &each) {
        return each.address == address && each.port == port;
    });
    std::optional<Command> *held =
        socket > 0 && sender != m_senders.end() ? &sender->held[size_t(socket - 1)] : nullptr;
    if (held && !(*held && (*held)->id == id))
        return;
    if (done && held && !(*held)->motors.isEmpty()) {
        (*held)->carriedOut = true;
        (*held)->stood.start();
        return;
    }
    send(address, port,
         ViscaDecoder::reply(message, done ? ViscaDecoder::completion(message.address, socket)
                                           : ViscaDecoder::error(message.address, socket, Error::NotExecutable)));
    if (held)
        held->reset();
}

void ViscaFront::send(const QHostAddress &address, quint16 port, const QByteArray &datagram)
{
    m_socket.writeDatagram(datagram, address, port);
}

void ViscaFront::positionsChanged(const QJsonObject &delta)
{
    for (Sender &sender : m_senders) {
        for (std::optional<Command> &held : sender.held) {
            if (held && std::any_of(held->motors.begin(), held->motors.end(),
                                    [&delta](int motor) { return delta.contains(motorName(motor)); }))
                held->stood.start();
        }
    }
}

void ViscaFront::tick()
{
    for (auto sender = m_senders.begin(); sender != m_senders.end();) {
        for (size_t socket = 0; socket < sender->held.size(); ++socket) {
            std::optional<Command> &held = sender->held[socket];
            if (!held || !held->carriedOut || !held->stood.hasExpired(standMs))
                continue;
            send(sender->address, sender->port,
                 ViscaDecoder::reply(held->message, ViscaDecoder::completion(held->message.address, int(socket) + 1)));
            held.reset();
        }
        if (!sender->heard.hasExpired()) {
            ++sender;
            continue;
        }
        m_service.release(&*sender);
        const bool holds = std::any_of(sender->held.begin(), sender->held.end(),
                                       [](const std::optional<Command> &held) { return held.has_value(); });
        sender = holds ? std::next(sender) : m_senders.erase(sender);
    }
    if (m_senders.empty())
        m_tick.stop();
}
