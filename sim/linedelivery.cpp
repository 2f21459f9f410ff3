#include "linedelivery.h"

#include <algorithm>

using std::chrono::microseconds;

microseconds lineTime(int byteCount, int baudRate)
{
    // Over the whole count rather than per byte, so rounding never adds up.
    const qint64 bits = qint64(byteCount) * LineDelivery::bitsPerByte * 1000000;
    return microseconds((bits + baudRate - 1) / baudRate);
}

namespace {

// Whatever has crossed by each tick of the adapter (every gap from the start of
// the reply) goes out at that tick; with no gap, each byte as it crosses.
QList<LinePiece> adapterPieces(const QByteArray &reply, const LineDelivery &delivery)
{
    const qint64 gap = delivery.gap.count();
    QList<LinePiece> pieces;
    for (int i = 0; i < reply.size(); ++i) {
        const qint64 crossed = lineTime(i + 1, delivery.baudRate).count();
        const qint64 tick = gap > 0 ? (crossed + gap - 1) / gap * gap : crossed;
        const microseconds offset = delivery.reaction + microseconds(tick);
        if (pieces.isEmpty() || pieces.last().offset != offset)
            pieces.append({QByteArray(), offset});
        pieces.last().bytes += reply.at(i);
    }
    return pieces;
}

QList<LinePiece> fixedPieces(const QByteArray &reply, const LineDelivery &delivery)
{
    QList<LinePiece> pieces;
    for (int start = 0; start < reply.size(); start += delivery.pieceBytes) {
        const QByteArray bytes = reply.mid(start, delivery.pieceBytes);
        microseconds offset = delivery.reaction + lineTime(start + int(bytes.size()), delivery.baudRate);
        if (!pieces.isEmpty())
            offset = std::max(offset, pieces.first().offset + int(pieces.size()) * delivery.gap);
        pieces.append({bytes, offset});
    }
    return pieces;
}

} // namespace

QList<LinePiece> scheduleReply(const QByteArray &reply, const LineDelivery &delivery)
{
    if (reply.isEmpty())
        return {};
    if (delivery.onePiece)
        return {{reply, delivery.reaction + lineTime(int(reply.size()), delivery.baudRate)}};
    if (delivery.pieceBytes > 0)
        return fixedPieces(reply, delivery);
    return adapterPieces(reply, delivery);
}
