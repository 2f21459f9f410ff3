#include "tavroframes.h"

namespace {

constexpr char StandardSync = char(0xFF);
constexpr char ExtendedMarker = char(0xFE);
constexpr char Address = 0x00;

} // namespace

QByteArray TavroFrames::standard(quint8 command1, quint8 command2, quint8 data2, quint8 check)
{
    QByteArray frame;
    frame.append(StandardSync);
    frame.append(Address);
    frame.append(char(command1));
    frame.append(char(command2));
    frame.append(char(0x00));
    frame.append(char(data2));
    frame.append(char(check));
    return frame;
}

QByteArray TavroFrames::extended(ExtendedCode code, quint8 parameter, quint8 last)
{
    QByteArray frame;
    frame.append(ExtendedMarker);
    frame.append(char(code));
    frame.append(3, char(0x00));
    frame.append(char(parameter));
    frame.append(char(last));
    return frame;
}

QByteArray TavroFrames::position(ExtendedCode code, qint32 position)
{
    const quint32 bits = quint32(position);
    QByteArray frame;
    frame.append(ExtendedMarker);
    frame.append(char(code));
    frame.append(char(bits >> 24));
    frame.append(char(bits >> 16));
    frame.append(char(bits >> 8));
    frame.append(char(bits));
    frame.append(char(0x00));
    return frame;
}

std::optional<qint32> TavroFrames::decodeFourByteValue(const QByteArray &data)
{
    if (data.size() != 4)
        return std::nullopt;
    quint32 bits = 0;
    for (int i = 3; i >= 0; --i)
        bits = (bits << 8) | quint8(data.at(i));
    return qint32(bits);
}

std::optional<int> TavroFrames::decodeLensType(const QByteArray &data)
{
    if (data.size() != 1)
        return std::nullopt;
    return int(qint8(data.at(0)));
}
