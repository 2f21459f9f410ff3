#ifndef OSCDECODER_H
#define OSCDECODER_H

#include "lensmotor.h"
#include "lensvalue.h"
#include "sessionrequest.h"

#include <QByteArray>
#include <QString>
#include <QVariantList>

#include <optional>

// What one OSC message under /lens asks for. A message that is not one of the
// addresses with its exact type tags asks for nothing and says nothing (a
// control surface sends many that are meant for others); a right one with a
// value out of range asks for nothing and says why.
struct OscDecoding
{
    enum class Subscription { None, Subscribe, Unsubscribe };

    std::optional<SessionRequest> request;
    // A goto in the lens's units: its position is where the lens profile
    // puts this value.
    std::optional<LensValue> value;
    // /lens/tracking i: focus follows zoom, on (1) or off (0).
    std::optional<bool> tracking;
    Subscription subscription = Subscription::None;
    // Subscribe: the port to send to; 0 for the sender's own.
    int port = 0;
    QString error;
};

namespace OscDecoder {

// The message at path with its type tags (without the leading comma) and its
// arguments, as liblo hands them over: an int for i, a float for f, a string
// for s, nothing for I (infinitum, which carries no data).
OscDecoding decode(BoardType board, const QString &path, const QByteArray &types, const QVariantList &arguments);

// The same for one datagram as it came off the line: a malformed packet, or a
// bundle, asks for nothing and says nothing.
OscDecoding decodePacket(BoardType board, const QByteArray &datagram);

} // namespace OscDecoder

#endif // OSCDECODER_H
