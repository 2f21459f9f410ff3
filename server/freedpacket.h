#ifndef FREEDPACKET_H
#define FREEDPACKET_H

#include <QByteArray>
#include <QtGlobal>

// The FreeD D1 message a virtual studio's tracking and rendering take the
// lens from: camera id, six pose fields this lens never moves (all 0), zoom
// and focus as unsigned 24-bit numbers, the iris in 12 bits under a 4-bit
// packet counter, and a checksum. Multi-byte fields are big-endian.
namespace FreedPacket {

constexpr int size = 29;
constexpr quint32 maximum24 = 0xFFFFFF;
constexpr quint32 maximumIris = 0xFFF;

struct Fields
{
    quint8 camera = 1;
    quint32 zoom = 0;
    quint32 focus = 0;
    quint32 iris = 0;
    // Wraps at 16.
    unsigned counter = 0;
};

// The 29 bytes of fields; zoom and focus beyond 24 bits and the iris beyond
// 12 are held to their largest value.
QByteArray build(const Fields &fields);

} // namespace FreedPacket

#endif // FREEDPACKET_H
