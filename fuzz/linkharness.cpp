#include "linkharness.h"

#include "operations.h"

#include <array>

QList<ScriptedPeer::Reply> LinkHarness::replies(const uint8_t *data, size_t size)
{
    static constexpr std::array<int, 4> delaysMs{0, 1, 4, 15};
    QList<ScriptedPeer::Reply> script;
    ScriptedPeer::Reply reply;
    size_t at = 0;
    while (at < size) {
        const uint8_t header = data[at++];
        const size_t length = qMin<size_t>(header & 0x1F, size - at);
        reply << ScriptedPeer::Burst{QByteArray(reinterpret_cast<const char *>(data + at), qsizetype(length)),
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

void LinkHarness::run(ScriptedPeer &peer, Controller &driver, const uint8_t *data, size_t size)
{
    constexpr size_t mostOperations = 4;
    size_t operations = 0;
    while (operations < size && operations < mostOperations) {
        if (!(data[operations++] & 0x80))
            break;
    }
    for (const ScriptedPeer::Reply &reply : replies(data + operations, size - operations))
        peer.queueReply(reply);
    for (size_t i = 0; i < operations; ++i)
        Operations::run(driver, (data[i] & 0x7F) % Operations::count);
    peer.finish();
}
