#ifndef TAVROFRAMES_H
#define TAVROFRAMES_H

#include <QByteArray>
#include <QtGlobal>

#include <optional>

// The 7-byte frames the Tavro board understands and the data bytes of its
// replies, as values only: nothing here touches a port.
namespace TavroFrames {

// Command codes of the board's own extended frames (marker 0xFE).
enum ExtendedCode : quint8 {
    InitMotor = 0x01,
    SetZoomPosition = 0x04,
    SetFocusPosition = 0x05,
    SetIrisPosition = 0x06,
    SetLensType = 0x07,
    GetZoomPosition = 0x08,
    GetFocusPosition = 0x09,
    GetIrisPosition = 0x0A,
    SetSensitivityMode = 0x0B,
    GetSensitivityMode = 0x0C,
    CalibrateAll = 0x0F,
    GetLensType = 0x10,
    StoreInDevice = 0x11,
    DisableStallDetection = 0x13,
    // The range queries run focus, zoom, iris: not the order of the position
    // queries.
    GetMaxFocusPosition = 0x14,
    GetMaxZoomPosition = 0x15,
    GetMaxIrisPosition = 0x16,
};

// A Pelco-D frame to address 0 with data 1 at 0. The check byte is the one the
// board is known to accept for that command and is sent as given; for some
// commands it is not the Pelco-D sum.
QByteArray standard(quint8 command1, quint8 command2, quint8 data2, quint8 check);

// An extended frame whose one-byte parameter sits in byte 6, bytes 3 to 5 at 0.
QByteArray extended(ExtendedCode code, quint8 parameter = 0x00, quint8 last = 0x00);

// An extended frame carrying a position, most significant byte first; negative
// positions go out in two's complement as they are.
QByteArray position(ExtendedCode code, qint32 position);

// The board answers four-byte queries least significant byte first, the
// opposite order to the position frames. Anything but exactly four bytes is no
// value.
std::optional<qint32> decodeFourByteValue(const QByteArray &data);

// The lens type comes back as one signed byte.
std::optional<int> decodeLensType(const QByteArray &data);

} // namespace TavroFrames

#endif // TAVROFRAMES_H
