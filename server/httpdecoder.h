#ifndef HTTPDECODER_H
#define HTTPDECODER_H

#include "lensmotor.h"
#include "lensvalue.h"
#include "sessionrequest.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What an HTTP request of the remote-control API asks for: a request for the
// lens, or the status code and text of the error that answers it instead.
struct HttpDecoding
{
    std::optional<SessionRequest> request;
    // A goto in the lens's units: its position is where the lens profile
    // puts this value.
    std::optional<LensValue> value;
    // Focus follows zoom, switched on or off.
    std::optional<bool> tracking;
    int status = 200;
    QString error;
};

namespace HttpDecoder {

// The largest body a request may carry.
constexpr qsizetype maximumBodySize = 64 * 1024;

// The request that method, path and body make for board; pure, so that every
// answer short of the board's is known before anything is queued.
HttpDecoding decode(BoardType board, const QByteArray &method, const QString &path, const QByteArray &body);

// Whether the value of a request's Authorization header carries token, as
// "Bearer TOKEN"; always true when no token is set.
bool carriesToken(const QByteArray &authorization, const QByteArray &token);

} // namespace HttpDecoder

#endif // HTTPDECODER_H
