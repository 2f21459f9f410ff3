// The reading of frames, replies and traces fed arbitrary bytes: what the
// traffic window and tavro-lensctl decode make of a customer's trace or of
// line noise. Besides the sanitizers, every frame read back must build again
// to itself and every meaning must have words.
//
// Input: the lines of a trace; also, its first 7 and first 16 bytes as a frame
// of each board, with the rest as the reply.

#include "fuzzqt.h"
#include "pellanframes.h"
#include "tavroframes.h"
#include "tracedecoder.h"
#include "tracereader.h"

#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char *what, const QByteArray &frame)
{
    if (condition)
        return;
    std::fprintf(stderr, "%s\n  frame %s\n", what, frame.toHex().constData());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzQt::start();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    for (int length : {TavroFrames::frameLength, PellanFrames::frameLength}) {
        ExchangeRecord record;
        record.frame = input.left(length);
        record.reply = input.mid(length);
        for (BoardType board : {BoardType::Tavro, BoardType::Pellan}) {
            record.board = board;
            require(!record.sentMeaning().text.isEmpty(), "frame without words", record.frame);
            require(record.reply.isEmpty() || !record.receivedMeaning().text.isEmpty(), "reply without words",
                    record.frame);
            TraceDecoder::describe(record);
        }
        if (const std::optional<TavroFrames::Request> request = TavroFrames::decodeFrame(record.frame)) {
            for (TavroFrames::FrameKind kind : request->kinds)
                require(TavroFrames::encode(kind, request->value) == record.frame, "Tavro frame read wrongly",
                        record.frame);
        }
        const QByteArray payload = record.frame.left(PellanFrames::frameLength - 2);
        if (const std::optional<PellanFrames::Move> move = PellanFrames::decodeMove(payload))
            require(PellanFrames::moveCommand(move->speed, move->travel) == payload, "Pellan move read wrongly",
                    record.frame);
    }

    TraceReader reader;
    const auto describeFound = [&reader] {
        for (const TraceReader::Exchange &exchange : reader.takeExchanges())
            TraceDecoder::describe(exchange.record, exchange.complete);
    };
    for (const QByteArray &line : input.split('\n')) {
        reader.addLine(QString::fromUtf8(line));
        describeFound();
    }
    reader.finish();
    describeFound();
    return 0;
}
