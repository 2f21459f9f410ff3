#include "pellanframes.h"

#include "modbuscrc.h"

namespace {

constexpr char slaveAddress = 0x01;
constexpr quint8 functionMove = 0x64;
constexpr quint8 functionStatus = 0x65;
constexpr quint8 exceptionFlag = 0x80;
// Address, function with the exception flag, exception code, CRC.
constexpr int exceptionReplyLength = 5;
constexpr int crcLength = 2;

void appendBigEndian32(QByteArray &frame, quint32 value)
{
    frame.append(char((value >> 24) & 0xFF));
    frame.append(char((value >> 16) & 0xFF));
    frame.append(char((value >> 8) & 0xFF));
    frame.append(char(value & 0xFF));
}

qint32 bigEndian32At(const QByteArray &frame, int offset)
{
    quint32 value = 0;
    for (int i = offset; i < offset + 4; ++i)
        value = (value << 8) | quint8(frame.at(i));
    return qint32(value);
}

QString signedNumber(qint32 value)
{
    return value > 0 ? QStringLiteral("+%1").arg(value) : QString::number(value);
}

// "CRC wrong (expected B6 14)" for a sealed message whose last two bytes are
// not the CRC of the bytes before them.
std::optional<QString> crcFault(const QByteArray &sealed)
{
    const QByteArray expected = PellanFrames::sealed(sealed.left(sealed.size() - crcLength));
    if (expected == sealed)
        return std::nullopt;
    return QStringLiteral("CRC wrong (expected %1)").arg(FrameMeaning::hex(expected.right(crcLength)));
}

// The words for a sealed message whose payload says text, with its CRC
// checked.
FrameMeaning checked(const QByteArray &sealed, const QString &text)
{
    if (const std::optional<QString> fault = crcFault(sealed))
        return {text + QStringLiteral(", ") + *fault, false};
    return {text, true};
}

// The fields of a status reply, read whatever its CRC, address and function.
PellanFrames::Status statusFields(const QByteArray &reply)
{
    return {qint8(reply.at(3)), bigEndian32At(reply, 8)};
}

// A sealed message that begins reply, when there is one: the move or status
// frame length, or an exception reply; bytes after it are counted.
FrameMeaning describeMessage(const QByteArray &reply)
{
    const auto withExtra = [&reply](FrameMeaning meaning, qsizetype length) {
        if (reply.size() > length)
            meaning.text += FrameMeaning::extraBytes(reply.size() - length);
        return meaning;
    };
    if (reply.size() >= exceptionReplyLength && reply.at(0) == slaveAddress
        && (quint8(reply.at(1)) & exceptionFlag)) {
        const QString code = FrameMeaning::hex(reply.mid(2, 1));
        return withExtra(checked(reply.left(exceptionReplyLength), QStringLiteral("rejected (exception %1)").arg(code)),
                         exceptionReplyLength);
    }
    if (reply.size() < PellanFrames::frameLength)
        return {QStringLiteral("unknown frame"), false};
    const QByteArray message = reply.left(PellanFrames::frameLength);
    // Noise ahead of a reply shifts it: bytes that do not open as a status
    // reply have no position.
    if (message.at(0) == slaveAddress && quint8(message.at(1)) == functionStatus) {
        const PellanFrames::Status status = statusFields(message);
        const QString text = QStringLiteral("position %1, %2")
                                 .arg(status.rawPosition)
                                 .arg(status.running ? QLatin1String("running") : QLatin1String("standing"));
        return withExtra(checked(message, text), PellanFrames::frameLength);
    }
    return withExtra(PellanFrames::describeFrame(message), PellanFrames::frameLength);
}

} // namespace

QByteArray PellanFrames::moveCommand(quint32 speed, qint32 travel)
{
    QByteArray frame;
    frame.append(slaveAddress);
    frame.append(char(functionMove));
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
    frame.append(char(functionStatus));
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

std::optional<QString> PellanFrames::statusReplyFault(const QByteArray &reply)
{
    if (reply.size() != statusReplyLength)
        return QStringLiteral("%1 bytes, not %2").arg(reply.size()).arg(statusReplyLength);
    // A damaged reply's address and function may be damaged as well: the CRC
    // says so first.
    if (const std::optional<QString> fault = crcFault(reply))
        return fault;
    const auto named = [&reply](const char *field, int index, char expected) -> std::optional<QString> {
        if (reply.at(index) == expected)
            return std::nullopt;
        return QStringLiteral("%1 %2, not %3")
            .arg(QLatin1String(field), FrameMeaning::hex(reply.mid(index, 1)),
                 FrameMeaning::hex(QByteArray(1, expected)));
    };
    // Sealed, but from another slave or no status reply: its position bytes
    // are no position.
    if (const std::optional<QString> fault = named("address", 0, slaveAddress))
        return fault;
    return named("function", 1, char(functionStatus));
}

std::optional<PellanFrames::Status> PellanFrames::decodeStatus(const QByteArray &reply)
{
    if (statusReplyFault(reply))
        return std::nullopt;
    return statusFields(reply);
}

std::optional<PellanFrames::Move> PellanFrames::decodeMove(const QByteArray &payload)
{
    if (payload.size() != frameLength - crcLength)
        return std::nullopt;
    const Move move{quint32(bigEndian32At(payload, 3)), bigEndian32At(payload, 7)};
    if (moveCommand(move.speed, move.travel) != payload)
        return std::nullopt;
    return move;
}

FrameMeaning PellanFrames::describeFrame(const QByteArray &sealedFrame)
{
    if (sealedFrame.size() != frameLength)
        return {QStringLiteral("unknown frame"), false};
    const QByteArray payload = sealedFrame.left(frameLength - crcLength);
    if (const std::optional<Move> move = decodeMove(payload)) {
        QString text = QStringLiteral("move %1 steps at speed %2").arg(signedNumber(move->travel)).arg(move->speed);
        if (move->travel == 0)
            text += QStringLiteral(" (stop)");
        return checked(sealedFrame, text);
    }
    if (payload == statusQuery())
        return checked(sealedFrame, QStringLiteral("status query"));
    return {QStringLiteral("unknown frame"), false};
}

FrameMeaning PellanFrames::describeReply(const QByteArray &sealedFrame, const QByteArray &reply)
{
    if (reply.isEmpty())
        return {};
    // The board acknowledges a command by echoing it.
    if (sealedFrame.size() > 1 && quint8(sealedFrame.at(1)) == functionMove && reply.startsWith(sealedFrame))
        return {QStringLiteral("echo") + (reply.size() > sealedFrame.size() ? FrameMeaning::extraBytes(reply.size() - sealedFrame.size())
                                                                           : QString()),
                true};
    return describeMessage(reply);
}
