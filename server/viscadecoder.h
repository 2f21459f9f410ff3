#ifndef VISCADECODER_H
#define VISCADECODER_H

#include "lensmotor.h"
#include "sessionrequest.h"

#include <QByteArray>
#include <QtGlobal>

// What one VISCA datagram asks of the lens: a VISCA message in the 8-byte
// VISCA-over-IP header (payload type, payload length, sequence number), or a
// bare one as some tools send it.
struct ViscaDecoding
{
    enum class Kind {
        // Neither a VISCA message nor one in the header: nothing to answer.
        Ignored,
        // The control command that resets the sequence numbers.
        SequenceReset,
        // A command: request says what the lens does.
        Command,
        // A position inquiry of motor.
        Inquiry,
        // Answered with error, and nothing is done.
        Error,
    };
    // The error codes of VISCA's error replies.
    enum class Error : quint8 { None = 0, Syntax = 0x02, BufferFull = 0x03, NotExecutable = 0x41 };

    Kind kind = Kind::Ignored;
    // Whether the message came in the header; its replies go back in one
    // with the same sequence number.
    bool framed = false;
    quint32 sequence = 0;
    // The camera address the message went to, 1 to 7: replies come from it.
    int address = 1;
    // Command: a run, a stop, a goto by a share of the motor's range, a
    // preset call or store.
    SessionRequest request;
    const LensMotor *motor = nullptr;
    Error error = Error::None;
};

namespace ViscaDecoder {

// The full scale of a Direct command and a position inquiry: 0x4000 for
// the zoom and the focus, 0xFF for the iris, each the motor's maximum.
int fullScale(const LensMotor &motor);

// The datagram as it came off the line, for board: pure, so that nothing
// malformed ever reaches the lens.
ViscaDecoding decode(BoardType board, const QByteArray &datagram);

// Replies, as the camera at address sends them, bare: put each into
// reply() for its message.
QByteArray ack(int address, int socket);
QByteArray completion(int address, int socket);
QByteArray error(int address, int socket, ViscaDecoding::Error error);
// The answer to a position inquiry: position of maximum on motor's full scale.
QByteArray position(int address, const LensMotor &motor, int position, int maximum);

// visca as the answer to message: in the header with its sequence number
// when it came in one, bare when it came bare.
QByteArray reply(const ViscaDecoding &message, const QByteArray &visca);
// The acknowledgement of a sequence reset.
QByteArray resetDone(const ViscaDecoding &message);

} // namespace ViscaDecoder

#endif // VISCADECODER_H
