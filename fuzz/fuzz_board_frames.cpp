// The simulated boards' frame parsers, fed sequences of arbitrary frames at
// arbitrary moments of the board's clock. Besides the sanitizers, each reply
// and the motors must stay within what the real boards can do.
//
// Input: the first byte picks the board (even: Tavro, odd: Pellan); then
// records of a header byte, a signed 32-bit step of the clock in ms (least
// significant byte first) and a frame: the board's own frame length, or
// (header & 0x1F) bytes when bit 7 of the header is set.

#include "pellanboard.h"
#include "pellanframes.h"
#include "tavroboard.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

void require(bool condition, const char *what, const QByteArray &frame, const QByteArray &reply)
{
    if (condition)
        return;
    std::fprintf(stderr, "%s\n  frame %s\n  reply %s\n", what, frame.toHex().constData(), reply.toHex().constData());
    std::abort();
}

// Status 0x00 with no data, a lens type or a four-byte value; 0x01 alone.
void checkTavro(const TavroBoard &board, const QByteArray &frame, const QByteArray &reply, qint64 nowMs)
{
    require(!reply.isEmpty(), "Tavro board stayed silent", frame, reply);
    const bool ok = reply.at(0) == 0x00 && (reply.size() == 1 || reply.size() == 2 || reply.size() == 5);
    const bool refused = reply == QByteArray(1, 0x01);
    require(ok || refused, "Tavro reply of no known form", frame, reply);
    for (TavroBoard::Axis axis : {TavroBoard::Axis::Zoom, TavroBoard::Axis::Focus, TavroBoard::Axis::Iris}) {
        const MotorAxis &motor = board.motor(axis);
        const int position = motor.position(nowMs);
        require(position >= motor.minimum() && position <= motor.maximum(), "Tavro motor outside its range",
                frame, reply);
        require(motor.target() >= motor.minimum() && motor.target() <= motor.maximum(),
                "Tavro motor heading outside its range", frame, reply);
    }
}

// Silence, or a sealed echo, status or exception reply.
void checkPellan(const PellanBoard &board, const QByteArray &frame, const QByteArray &reply, qint64 nowMs)
{
    if (!reply.isEmpty()) {
        require(reply.size() == PellanBoard::frameSize || reply.size() == 5, "Pellan reply of no known length",
                frame, reply);
        require(PellanFrames::sealed(reply.left(reply.size() - 2)) == reply, "Pellan reply with a wrong CRC", frame,
                reply);
    }
    const int position = board.rawPosition(nowMs);
    require(position >= PellanBoard::nearEnd && position <= PellanBoard::farEnd, "Pellan focus outside its travel",
            frame, reply);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const bool tavro = data[0] % 2 == 0;
    std::unique_ptr<BoardModel> board;
    if (tavro)
        board = std::make_unique<TavroBoard>();
    else
        board = std::make_unique<PellanBoard>();
    qint64 nowMs = 0;
    size_t at = 1;
    while (at + 5 <= size) {
        const uint8_t header = data[at];
        const qint32 step = qint32(quint32(data[at + 1]) | quint32(data[at + 2]) << 8 | quint32(data[at + 3]) << 16
                                   | quint32(data[at + 4]) << 24);
        at += 5;
        nowMs += step;
        const size_t length = qMin<size_t>(header & 0x80 ? header & 0x1F : size_t(board->frameLength()), size - at);
        const QByteArray frame(reinterpret_cast<const char *>(data + at), qsizetype(length));
        at += length;
        const QByteArray reply = board->handleFrame(frame, nowMs);
        if (tavro)
            checkTavro(static_cast<const TavroBoard &>(*board), frame, reply, nowMs);
        else
            checkPellan(static_cast<const PellanBoard &>(*board), frame, reply, nowMs);
    }
    return 0;
}
