#ifndef BOARDMODEL_H
#define BOARDMODEL_H

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// A simulated lens controller board: what it answers to one complete frame at
// a given moment of its own clock. It does no I/O, so a test can drive it with
// chosen times.
class BoardModel
{
public:
    virtual ~BoardModel() = default;

    // How many bytes make one frame of the board's protocol.
    virtual int frameLength() const = 0;
    // The speed of the board's serial line, in both directions.
    virtual int baudRate() const = 0;
    // The reply to frame (frameLength() bytes) received at nowMs; empty when
    // the board stays silent.
    virtual QByteArray handleFrame(const QByteArray &frame, qint64 nowMs) = 0;
    // The reply a board gives when it refuses a frame it would otherwise
    // accept.
    virtual QByteArray refusal(const QByteArray &frame) const = 0;
    // Where each motor and the lens part it drives are at nowMs, for a trace
    // line; empty for a board without motors.
    virtual QString motorsText(qint64 /*nowMs*/) const { return {}; }
};

#endif // BOARDMODEL_H
