#include "linkharness.h"

#include "operations.h"

#include <array>

QList<ReplyPeer::Reply> LinkHarness::replies(const uint8_t *data, size_t size)
{
    static constexpr std::array<int, 4> delaysMs{0, 1, 4, 15};
    QList<ReplyPeer::Reply> script;
    ReplyPeer::Reply reply;
    size_t at = 0;
    while (at < size) {
        const uint8_t header = data[at++];
        const size_t length = qMin<size_t>(header & 0x1F, size - at);
        reply << ReplyPeer::Piece{QByteArray(reinterpret_cast<const char *>(data + at), qsizetype(length)),
                                  delaysMs[(header >> 5) & 0x03]};
        at += length;
        if (header & 0x80) {
            script << reply;
            reply.clear();
        }
    }
    if (!reply.isEmpty())
        script << reply;
    return script;
}

void LinkHarness::run(ReplyPeer &peer, Controller &driver, const uint8_t *data, size_t size)
{
    if (size == 0)
        return;
    peer.serve(replies(data + 1, size - 1));
    Operations::run(driver, data[0] % Operations::count);
    peer.finish();
}
