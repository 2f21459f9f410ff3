#include "modbuscrc.h"

#include <QByteArray>

#include <array>

namespace {

// Entry i is the register after processing byte value i from a zero register.
constexpr std::array<quint16, 256> makeCrcTable()
{
    std::array<quint16, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        quint16 crc = quint16(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
        table[i] = crc;
    }
    return table;
}

constexpr std::array<quint16, 256> wCRCTable = makeCrcTable();
static_assert(wCRCTable[1] == 0xC0C1 && wCRCTable[255] == 0x4040, "Modbus CRC table");

} // namespace

quint16 modbusCrc16(const QByteArray &data)
{
    quint16 crc = 0xFFFF;
    for (const char byte : data)
        crc = quint16((crc >> 8) ^ wCRCTable[(crc ^ quint8(byte)) & 0xFF]);
    return crc;
}
