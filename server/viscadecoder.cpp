#include "viscadecoder.h"

#include <algorithm>
#include <initializer_list>

namespace {

using Error = ViscaDecoding::Error;

// The header's payload types.
constexpr int commandType = 0x0100;
constexpr int inquiryType = 0x0110;
constexpr int replyType = 0x0111;
constexpr int controlType = 0x0200;
constexpr int controlReplyType = 0x0201;
constexpr qsizetype headerSize = 8;
constexpr qsizetype longestMessage = 16;
constexpr quint8 terminator = 0xFF;
// The control command's payload that resets the sequence numbers, and its
// acknowledgement.
constexpr char resetPayload = 0x01;

const LensMotor &motor(int index)
{
    return LensMotor::all()[size_t(index)];
}

ViscaDecoding failed(ViscaDecoding decoding, Error error)
{
    decoding.kind = ViscaDecoding::Kind::Error;
    decoding.error = error;
    return decoding;
}

// 0 to 7, a joystick's deflection, onto the lens's three levels.
int speedLevel(int p)
{
    return p <= 2 ? 0 : p <= 5 ? 1 : 2;
}

// Stop 00, towards the maximum (tele, far) 02 or 2p, towards 0 (wide, near)
// 03 or 3p.
ViscaDecoding run(ViscaDecoding decoding, const LensMotor &motor, quint8 value)
{
    SessionRequest &request = decoding.request;
    request.motor = &motor;
    const int high = value >> 4;
    const int p = value & 0x0F;
    if (value == 0x00) {
        request.kind = SessionRequest::Kind::Stop;
    } else if (value == 0x02 || value == 0x03 || ((high == 2 || high == 3) && p <= 7)) {
        request.kind = SessionRequest::Kind::Run;
        const bool towardsMaximum = value == 0x02 || high == 2;
        request.direction = towardsMaximum ? LensMotor::towardsMaximum : LensMotor::towardsZero;
        request.speed = high == 0 ? -1 : speedLevel(p);
    } else {
        return failed(decoding, Error::Syntax);
    }
    decoding.kind = ViscaDecoding::Kind::Command;
    return decoding;
}

// 0p 0q 0r 0s: a value of four nibbles, up to the motor's full scale.
ViscaDecoding direct(ViscaDecoding decoding, const LensMotor &motor, const QByteArray &nibbles)
{
    int value = 0;
    for (const char nibble : nibbles) {
        if (quint8(nibble) > 0x0F)
            return failed(decoding, Error::Syntax);
        value = value << 4 | nibble;
    }
    const int scale = ViscaDecoder::fullScale(motor);
    decoding.kind = ViscaDecoding::Kind::Command;
    decoding.request.kind = SessionRequest::Kind::Goto;
    decoding.request.motor = &motor;
    decoding.request.share = double(std::min(value, scale)) / scale;
    return decoding;
}

// 3F 0p 0q: p 01 set, 02 recall (00, reset, the board cannot do); q the
// memory, 0 to 9 for presets 1 to 10.
ViscaDecoding memory(ViscaDecoding decoding, quint8 action, quint8 number)
{
    if (action > 0x02)
        return failed(decoding, Error::Syntax);
    if (action == 0x00 || number > SessionRequest::lastPreset - SessionRequest::firstPreset)
        return failed(decoding, Error::NotExecutable);
    decoding.kind = ViscaDecoding::Kind::Command;
    decoding.request.kind = action == 0x01 ? SessionRequest::Kind::PresetStore : SessionRequest::Kind::PresetCall;
    decoding.request.value = SessionRequest::firstPreset + number;
    return decoding;
}

// The motor of a Direct command or position inquiry by its code, or -1.
int motorOfCode(quint8 code)
{
    return code == 0x47 ? 0 : code == 0x48 ? 1 : code == 0x4B ? 2 : -1;
}

// After 8x 01: 04 and the command's code and values.
ViscaDecoding command(BoardType board, ViscaDecoding decoding, const QByteArray &bytes)
{
    if (bytes.size() < 2)
        return failed(decoding, Error::Syntax);
    const quint8 code = quint8(bytes.at(1));
    const bool isRun = code == 0x07 || code == 0x08;
    const int index = isRun ? code - 0x07 : motorOfCode(code);
    if (bytes.at(0) != 0x04 || (index < 0 && code != 0x3F))
        return failed(decoding, Error::NotExecutable);
    const qsizetype size = isRun ? 3 : code == 0x3F ? 4 : 6;
    if (bytes.size() != size)
        return failed(decoding, Error::Syntax);
    if (code == 0x3F)
        return memory(decoding, quint8(bytes.at(2)), quint8(bytes.at(3)));
    if (!motor(index).isOn(board))
        return failed(decoding, Error::NotExecutable);
    return isRun ? run(decoding, motor(index), quint8(bytes.at(2))) : direct(decoding, motor(index), bytes.mid(2));
}

// After 8x 09: 04 and the position inquiry's code.
ViscaDecoding inquiry(BoardType board, ViscaDecoding decoding, const QByteArray &bytes)
{
    if (bytes.size() < 2)
        return failed(decoding, Error::Syntax);
    const int index = motorOfCode(quint8(bytes.at(1)));
    if (bytes.size() != 2 || bytes.at(0) != 0x04 || index < 0 || !motor(index).isOn(board))
        return failed(decoding, Error::NotExecutable);
    decoding.kind = ViscaDecoding::Kind::Inquiry;
    decoding.motor = &motor(index);
    return decoding;
}

// 8x, the message, FF: x the camera address.
ViscaDecoding message(BoardType board, ViscaDecoding decoding, const QByteArray &bytes)
{
    const quint8 first = quint8(bytes.at(0));
    const int address = first & 0x0F;
    if ((first & 0xF0) != 0x80 || address < 1 || address > 7)
        return failed(decoding, Error::Syntax);
    decoding.address = address;
    if (bytes.size() < 3 || bytes.size() > longestMessage || bytes.indexOf(char(terminator)) != bytes.size() - 1)
        return failed(decoding, Error::Syntax);
    const QByteArray body = bytes.mid(1, bytes.size() - 2);
    if (body.at(0) == 0x01)
        return command(board, decoding, body.mid(1));
    if (body.at(0) == 0x09)
        return inquiry(board, decoding, body.mid(1));
    return failed(decoding, Error::NotExecutable);
}

int word(const QByteArray &bytes, qsizetype at)
{
    return quint8(bytes.at(at)) << 8 | quint8(bytes.at(at + 1));
}

QByteArray header(int type, qsizetype length, quint32 sequence)
{
    QByteArray header;
    for (const int shift : {8, 0})
        header.append(char(type >> shift));
    for (const int shift : {8, 0})
        header.append(char(length >> shift));
    for (const int shift : {24, 16, 8, 0})
        header.append(char(sequence >> shift));
    return header;
}

QByteArray bytes(std::initializer_list<char> values)
{
    return QByteArray(values.begin(), qsizetype(values.size()));
}

char replyAddress(int address)
{
    return char((address + 8) << 4);
}

} // namespace

int ViscaDecoder::fullScale(const LensMotor &motor)
{
    return motor.index() == 2 ? 0xFF : 0x4000;
}

ViscaDecoding ViscaDecoder::decode(BoardType board, const QByteArray &datagram)
{
    ViscaDecoding decoding;
    if (!datagram.isEmpty() && (quint8(datagram.at(0)) & 0xF0) == 0x80)
        return message(board, decoding, datagram);
    if (datagram.size() <= headerSize)
        return {};
    const int type = word(datagram, 0);
    if (word(datagram, 2) != datagram.size() - headerSize
        || (type != commandType && type != inquiryType && type != controlType))
        return {};
    decoding.framed = true;
    decoding.sequence = quint32(word(datagram, 4)) << 16 | quint32(word(datagram, 6));
    const QByteArray payload = datagram.mid(headerSize);
    if (type != controlType)
        return message(board, decoding, payload);
    if (payload != QByteArray(1, resetPayload))
        return {};
    decoding.kind = ViscaDecoding::Kind::SequenceReset;
    return decoding;
}

QByteArray ViscaDecoder::ack(int address, int socket)
{
    return bytes({replyAddress(address), char(0x40 | socket), char(terminator)});
}

QByteArray ViscaDecoder::completion(int address, int socket)
{
    return bytes({replyAddress(address), char(0x50 | socket), char(terminator)});
}

QByteArray ViscaDecoder::error(int address, int socket, ViscaDecoding::Error error)
{
    return bytes({replyAddress(address), char(0x60 | socket), char(error), char(terminator)});
}

QByteArray ViscaDecoder::position(int address, const LensMotor &motor, int position, int maximum)
{
    const int scale = fullScale(motor);
    const int value = maximum > 0 ? std::clamp(qRound(double(position) * scale / maximum), 0, scale) : 0;
    QByteArray answer = bytes({replyAddress(address), char(0x50)});
    for (const int shift : {12, 8, 4, 0})
        answer.append(char(value >> shift & 0x0F));
    return answer.append(char(terminator));
}

QByteArray ViscaDecoder::reply(const ViscaDecoding &message, const QByteArray &visca)
{
    return message.framed ? header(replyType, visca.size(), message.sequence) + visca : visca;
}

QByteArray ViscaDecoder::resetDone(const ViscaDecoding &message)
{
    return header(controlReplyType, 1, message.sequence) + resetPayload;
}
