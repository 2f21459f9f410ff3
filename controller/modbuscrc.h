#ifndef MODBUSCRC_H
#define MODBUSCRC_H

#include <QtGlobal>

class QByteArray;

// The Modbus RTU CRC-16 of data (register preset 0xFFFF, reflected polynomial
// 0xA001, no final XOR). On the wire its low byte goes first.
quint16 modbusCrc16(const QByteArray &data);

#endif // MODBUSCRC_H
