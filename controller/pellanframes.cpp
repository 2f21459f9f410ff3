#include "pellanframes.h"

#include "modbuscrc.h"

namespace {

constexpr char slaveAddress = 0x01;

void appendBigEndian32(QByteArray &frame, quint32 value)
{
    frame.append(char((value >> 24) & 0xFF));
    frame.append(char((value >> 16) & 0xFF));
    frame.append(char((value >> 8) & 0xFF));
    frame.append(char(value & 0xFF));
}

} // namespace

QByteArray PellanFrames::moveCommand(quint32 speed, qint32 travel)
{
    QByteArray frame;
    frame.append(slaveAddress);
    frame.append(char(0x64));
    frame.append(char(0x01));
    appendBigEndian32(frame, speed);
    appendBigEndian32(frame, quint32(travel));
    frame.append(3, '\0');
    return frame;
}

QByteArray PellanFrames::statusQuery()
{
    QByteArray frame;
    frame.append(slaveAddress);
    frame.append(char(0x65));
    frame.append(12, '\0');
    return frame;
}

QByteArray PellanFrames::sealed(const QByteArray &payload)
{
    const quint16 crc = modbusCrc16(payload);
    QByteArray frame = payload;
    frame.append(char(crc & 0xFF));
    frame.append(char(crc >> 8));
    return frame;
}

std::optional<PellanFrames::Status> PellanFrames::decodeStatus(const QByteArray &reply)
{
    // Noise on the line ahead of a reply shifts it; bytes that do not open as
    // a status reply would yield a position from the wrong bytes.
    if (reply.size() != statusReplyLength || reply.at(0) != slaveAddress || reply.at(1) != char(0x65))
        return std::nullopt;
    const auto byte = [&reply](int index) { return quint32(quint8(reply.at(index))); };
    Status status;
    status.running = qint8(reply.at(3));
    status.rawPosition = qint32((byte(8) << 24) | (byte(9) << 16) | (byte(10) << 8) | byte(11));
    return status;
}
