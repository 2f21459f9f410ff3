#ifndef TAVROFRAMES_H
#define TAVROFRAMES_H

#include "framemeaning.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <optional>

// The 7-byte frames the Tavro board understands and the data bytes of its
// replies, as values only: nothing here touches a port. Building a frame and
// reading one back are each other's inverse.
namespace TavroFrames {

constexpr int frameLength = 7;

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

// The kinds of frame the driver sends: everything it asks of the board, one
// frame each.
enum class FrameKind {
    ZoomTele,
    ZoomWide,
    ZoomStop,
    FocusNear,
    FocusFar,
    FocusStop,
    IrisOpen,
    IrisClose,
    IrisStop,
    StorePreset,
    CallPreset,
    SetZoomSpeed,
    SetFocusSpeed,
    InitMotor,
    SetZoomPosition,
    SetFocusPosition,
    SetIrisPosition,
    SetLensType,
    GetZoomPosition,
    GetFocusPosition,
    GetIrisPosition,
    SetSensitivityMode,
    GetSensitivityMode,
    CalibrateAll,
    GetLensType,
    StoreInDevice,
    DisableStallDetection,
    GetMaxFocusPosition,
    GetMaxZoomPosition,
    GetMaxIrisPosition,
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

// The frame of kind with its one value (a preset, speed level, position, lens
// type, mode or flag; ignored by kinds without one), built by the builders
// above. Byte parameters take the value's low byte.
QByteArray encode(FrameKind kind, qint32 value = 0);

// A frame read back: the kinds it is (the focus and iris stops share their
// frame) and its value. Nothing for bytes that are no frame of the
// driver's.
struct Request
{
    QList<FrameKind> kinds;
    qint32 value = 0;
};
std::optional<Request> decodeFrame(const QByteArray &frame);

// The frame in words, such as "set zoom position 3000" or "focus stop / iris
// stop"; "unknown frame" for anything else.
FrameMeaning describeFrame(const QByteArray &frame);

// How many data bytes follow the status byte in the reply to frame: 4 or 1 for
// a query, 0 for a command or bytes that are no frame of the driver's.
int replyDataBytes(const QByteArray &frame);

// A reply read by the query it answers: "OK", "rejected (status 02)", "zoom
// position 2750", "lens type 1". Bytes beyond what the query expects are
// counted, fewer are said to be missing. Nothing is said of no reply at all.
FrameMeaning describeReply(const QByteArray &frame, const QByteArray &reply);

// The board answers four-byte queries least significant byte first, the
// opposite order to the position frames. Anything but exactly four bytes is no
// value.
std::optional<qint32> decodeFourByteValue(const QByteArray &data);

// The lens type comes back as one signed byte.
std::optional<int> decodeLensType(const QByteArray &data);

} // namespace TavroFrames

#endif // TAVROFRAMES_H
