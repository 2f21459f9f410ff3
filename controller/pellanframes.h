#ifndef PELLANFRAMES_H
#define PELLANFRAMES_H

#include "framemeaning.h"

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

// Why reply is not a whole status reply from the board, in words: "15 bytes,
// not 16", "CRC wrong (expected B6 14)", "address 02, not 01", "function 64,
// not 65"; nothing when it is one. A line error in the position bytes leaves a
// reply of the right length, address and function: only its CRC tells.
std::optional<QString> statusReplyFault(const QByteArray &reply);

// The two fields the driver relies on, or nothing when statusReplyFault()
// finds a fault.
std::optional<Status> decodeStatus(const QByteArray &reply);

struct Move
{
    quint32 speed;
    qint32 travel;
};

// The values of a move command's payload, or nothing unless the payload is
// one exactly as moveCommand() builds it.
std::optional<Move> decodeMove(const QByteArray &payload);

// A sealed frame in words: "move +10000 steps at speed 81", "status query";
// "unknown frame" for anything else. A wrong CRC is named, and such a frame
// is not understood.
FrameMeaning describeFrame(const QByteArray &sealedFrame);

// A reply to sealedFrame: "echo", "rejected (exception 04)" or the status
// "position 20000, running"; "unknown frame" for anything else. Nothing is
// said of no reply at all.
FrameMeaning describeReply(const QByteArray &sealedFrame, const QByteArray &reply);

} // namespace PellanFrames

#endif // PELLANFRAMES_H
