#include "pellanboard.h"

#include "pellanframes.h"

namespace {

constexpr quint8 functionMove = 0x64;
constexpr quint8 functionStatus = 0x65;
constexpr quint8 exceptionFlag = 0x80;
constexpr char illegalFunction = 0x01;
constexpr char slaveDeviceFailure = 0x04;

quint32 bigEndianAt(const QByteArray &frame, int offset)
{
    quint32 value = 0;
    for (int i = offset; i < offset + 4; ++i)
        value = (value << 8) | quint8(frame.at(i));
    return value;
}

void putBigEndian(QByteArray &frame, int offset, quint32 value)
{
    for (int i = 3; i >= 0; --i) {
        frame[offset + i] = char(value & 0xFF);
        value >>= 8;
    }
}

bool hasValidCrc(const QByteArray &frame)
{
    return PellanFrames::sealed(frame.left(frame.size() - 2)) == frame;
}

// A Modbus slave stays silent on frames it cannot trust or that are not meant
// for it.
bool isForThisBoard(const QByteArray &frame)
{
    return frame.size() == PellanBoard::frameSize && hasValidCrc(frame)
        && quint8(frame.at(0)) == PellanBoard::slaveAddress;
}

QByteArray exceptionReply(const QByteArray &frame, char code)
{
    QByteArray payload;
    payload.append(frame.at(0));
    payload.append(char(quint8(frame.at(1)) | exceptionFlag));
    payload.append(code);
    return PellanFrames::sealed(payload);
}

} // namespace

PellanBoard::PellanBoard() = default;


QByteArray PellanBoard::handleFrame(const QByteArray &frame, qint64 nowMs)
{
    if (!isForThisBoard(frame))
        return {};

    switch (quint8(frame.at(1))) {
    case functionMove: {
        const quint32 speed = bigEndianAt(frame, 3);
        const qint32 travel = qint32(bigEndianAt(frame, 7));
        if (travel == 0)
            m_focus.stop(nowMs);
        else
            m_focus.moveTo(qint64(m_focus.position(nowMs)) + travel,
                           qint64(speed) * stepsPerSpeedUnit, nowMs);
        return frame;
    }
    case functionStatus:
        return statusReply(nowMs);
    default:
        return exceptionReply(frame, illegalFunction);
    }
}

QString PellanBoard::motorsText(qint64 nowMs) const
{
    return QStringLiteral("focus %1 lens %2").arg(rawPosition(nowMs)).arg(lensPosition(nowMs));
}

QByteArray PellanBoard::refusal(const QByteArray &frame) const
{
    if (!isForThisBoard(frame))
        return {};
    return exceptionReply(frame, slaveDeviceFailure);
}

// 01 65, running flag at 3, raw position at 8..11 most significant byte first,
// zeros elsewhere, CRC.
QByteArray PellanBoard::statusReply(qint64 nowMs) const
{
    QByteArray payload(frameSize - 2, '\0');
    payload[0] = char(slaveAddress);
    payload[1] = char(functionStatus);
    payload[3] = char(isRunning(nowMs) ? 0xFF : 0x00);
    putBigEndian(payload, 8, quint32(rawPosition(nowMs)));
    return PellanFrames::sealed(payload);
}
