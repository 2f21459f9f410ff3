// The VISCA face's reading of datagrams, as joysticks, hubs and switchers
// send them, or as anything on the network might. Besides the sanitizers,
// every command read must be one the board can be sent (a motor the board
// has, a share, direction, speed and preset within their ranges, a run held
// by its sender, not by a deadline), and every reply must be a VISCA message
// of its own, in a header whose length and sequence number are the message's.
//
// Input: the first byte picks the board; the rest is the datagram.

#include "fuzzqt.h"
#include "viscadecoder.h"

namespace {

using FuzzQt::require;

void check(BoardType board, const SessionRequest &request)
{
    using Kind = SessionRequest::Kind;
    if (request.kind == Kind::PresetCall || request.kind == Kind::PresetStore) {
        require(request.value >= SessionRequest::firstPreset && request.value <= SessionRequest::lastPreset,
                "a preset out of range");
        return;
    }
    require(request.kind == Kind::Goto || request.kind == Kind::Run || request.kind == Kind::Stop, "a kind of its own");
    require(request.motor && request.motor->isOn(board), "a motor the board lacks");
    if (request.kind == Kind::Goto)
        require(request.share >= 0 && request.share <= 1.0, "a share out of range");
    if (request.kind == Kind::Run) {
        require(request.direction == 0 || request.direction == 1, "a direction out of range");
        require(request.speed >= -1 && request.speed <= 2, "a speed out of range");
        require(request.holdMs == 0 && !request.holder, "a run held other than by its sender");
    }
}

void checkReply(const ViscaDecoding &message, const QByteArray &visca)
{
    const QByteArray reply = ViscaDecoder::reply(message, visca);
    const QByteArray bare = message.framed ? reply.mid(8) : reply;
    require(bare == visca, "a reply that is not the message");
    require(bare.size() >= 3 && bare.size() <= 16 && bare.indexOf('\xFF') == bare.size() - 1
                && (quint8(bare.at(0)) >> 4) == message.address + 8,
            "a reply that is not a VISCA message from the address");
    if (!message.framed)
        return;
    QByteArray header = QByteArray::fromHex("0111");
    for (const int shift : {8, 0})
        header.append(char(bare.size() >> shift));
    for (const int shift : {24, 16, 8, 0})
        header.append(char(message.sequence >> shift));
    require(reply.left(8) == header, "a header that is not the reply's");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const BoardType board = data[0] & 1 ? BoardType::Pellan : BoardType::Tavro;
    const QByteArray datagram(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const ViscaDecoding message = ViscaDecoder::decode(board, datagram);
    require(message.address >= 1 && message.address <= 7, "an address out of range");
    switch (message.kind) {
    case ViscaDecoding::Kind::Ignored:
    case ViscaDecoding::Kind::SequenceReset:
        require(message.kind == ViscaDecoding::Kind::Ignored || message.framed, "a reset without the header");
        break;
    case ViscaDecoding::Kind::Command:
        check(board, message.request);
        checkReply(message, ViscaDecoder::ack(message.address, 1));
        break;
    case ViscaDecoding::Kind::Inquiry:
        require(message.motor && message.motor->isOn(board), "an inquiry of a motor the board lacks");
        // Any position the board may report, on any range.
        checkReply(message, ViscaDecoder::position(message.address, *message.motor, int(size) * 97, int(data[0]) * 31));
        break;
    case ViscaDecoding::Kind::Error:
        require(message.error != ViscaDecoding::Error::None, "an error without its code");
        checkReply(message, ViscaDecoder::error(message.address, 0, message.error));
        break;
    }
    return 0;
}
