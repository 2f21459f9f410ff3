#ifndef SIMFAULT_H
#define SIMFAULT_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QRandomGenerator;

// Ways a simulated board can misbehave, so the drivers' failure paths can be
// exercised on a real serial line.
enum class SimFault {
    None,
    // The board ignores the frame: no reply, nothing done.
    NoReply,
    // The board refuses the frame (Tavro: status 0x01; Pellan: a Modbus
    // exception reply); nothing done.
    Rejected,
    // The reply comes in two bursts with a pause between them.
    SplitReply,
    // The reply lacks its last byte.
    ShortReply,
    // Four extra bytes follow the reply in the same burst.
    TrailingBytes,
    // Random bytes of the reply's length instead of the reply; the first one
    // always differs from the real reply's, so the line noise never passes for
    // an acknowledgement.
    RandomBytes,
    // The reply with its last byte inverted (a Pellan echo that differs in its
    // CRC, a Tavro value that is off).
    WrongEcho,
    // A burst of noiseBytes random bytes on the line just before the reply, as
    // a cable being plugged or a motor starting up may cause; the first one
    // always differs from the reply's first byte. The frame is acted on.
    NoiseBeforeReply,
    // The frame is acted on, but the reply leaves only after the simulator's
    // late-reply delay, later than the program waits for it.
    LateReply,
    // One bit of the reply's middle byte arrives flipped, as a line error may
    // flip it: in a Pellan status reply a byte of the position, which only the
    // CRC gives away; in a Tavro value a byte that nothing gives away. The
    // frame is acted on.
    BitError,
};

// How many random bytes NoiseBeforeReply puts before the reply.
constexpr int noiseBytes = 8;

// The names used on the command line: none, no-reply, rejected, split-reply,
// short-reply, trailing-bytes, random-bytes, wrong-echo, noise-before-reply,
// late-reply, bit-error.
QStringList simFaultNames();
std::optional<SimFault> simFaultFromName(const QString &name);

// Whether the board still acts on a frame whose reply suffers fault.
bool simFaultExecutesFrame(SimFault fault);

// The bursts in which reply goes out under fault. firstBurstBytes is where a
// split reply is cut (at least one byte goes first); random is the source for
// RandomBytes and NoiseBeforeReply. An empty list means silence. When the
// bursts leave is the simulator's business (LateReply is shaped as None).
QList<QByteArray> shapeReply(const QByteArray &reply, SimFault fault, int firstBurstBytes,
                             QRandomGenerator &random);

#endif // SIMFAULT_H
