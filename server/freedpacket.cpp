#include "freedpacket.h"

#include <algorithm>

namespace {

void put24(QByteArray &packet, int at, quint32 value)
{
    value = std::min(value, FreedPacket::maximum24);
    packet[at] = char(value >> 16);
    packet[at + 1] = char(value >> 8);
    packet[at + 2] = char(value);
}

} // namespace

QByteArray FreedPacket::build(const Fields &fields)
{
    QByteArray packet(size, '\0');
    packet[0] = char(0xD1);
    packet[1] = char(fields.camera);
    // Bytes 2 to 19: pan, tilt, roll, X, Y and height, which stay 0.
    put24(packet, 20, fields.zoom);
    put24(packet, 23, fields.focus);
    const quint32 iris = std::min(fields.iris, maximumIris) | ((fields.counter & 0xF) << 12);
    packet[26] = char(iris >> 8);
    packet[27] = char(iris);
    unsigned sum = 0;
    for (int i = 0; i < size - 1; ++i)
        sum += quint8(packet[i]);
    packet[size - 1] = char((0x40 - sum) & 0xFF);
    return packet;
}
