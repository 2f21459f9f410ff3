#ifndef PELLANFRAMES_H
#define PELLANFRAMES_H

#include <QByteArray>
#include <QtGlobal>

#include <optional>

// The frames of the Pellan focus board (Modbus RTU, slave 0x01). Builders return
// the 14 payload bytes; the transport seals them with the CRC.
namespace PellanFrames {

constexpr int frameLength = 16;
constexpr int statusReplyLength = 16;

// Function 0x64: run the focus motor by travel raw steps (positive towards the
// far end) at the given speed. The board acknowledges it by echoing it.
QByteArray moveCommand(quint32 speed, qint32 travel);

// Function 0x65: ask for the running flag and the raw position.
QByteArray statusQuery();

// The payload followed by its Modbus CRC-16, low byte first.
QByteArray sealed(const QByteArray &payload);

struct Status
{
    // Non-zero while the motor moves.
    int running;
    qint32 rawPosition;
};

// The two fields the driver relies on, or nothing unless the reply has exactly
// the length of a status reply and opens with the board's address and the
// status function. The reply's CRC is not looked at.
std::optional<Status> decodeStatus(const QByteArray &reply);

} // namespace PellanFrames

#endif // PELLANFRAMES_H
