#include "tavroframes.h"

#include <QStringList>

#include <array>

namespace {

constexpr char StandardSync = char(0xFF);
constexpr char ExtendedMarker = char(0xFE);
constexpr char Address = 0x00;

using TavroFrames::FrameKind;

// Where a frame kind's value goes in its frame.
enum class Parameter {
    None,
    // Pelco-D data 2.
    Data2,
    // Byte 6 of an extended frame.
    Byte,
    // Byte 6 and again byte 7.
    RepeatedByte,
    // Bytes 3 to 6, most significant first.
    Position,
};

// One frame kind's frame and reply. Standard frames carry command 1, command 2
// and their check byte; extended frames their code in command2.
struct Shape
{
    FrameKind kind;
    bool extended;
    quint8 command1;
    quint8 command2;
    quint8 check;
    Parameter parameter;
    // With %1 for the value, or for its word when words has one.
    const char *text;
    // Words for the values 0, 1, 2 … where they mean more than the number.
    std::array<const char *, 3> words;
    // Data bytes after the status byte: 0 for a command.
    int replyBytes;
    // With %1 for the value the reply carries.
    const char *replyText;
};

// The check bytes of the run and stop frames are the ones the board accepts:
// zoom wide and zoom stop carry 0x20 although the Pelco-D sum differs, and the
// preset and speed frames go out with 0x00.
constexpr std::array<Shape, 30> shapes{{
    {FrameKind::ZoomTele, false, 0x00, 0x20, 0x20, Parameter::None, "zoom tele", {}, 0, nullptr},
    {FrameKind::ZoomWide, false, 0x00, 0x40, 0x20, Parameter::None, "zoom wide", {}, 0, nullptr},
    {FrameKind::ZoomStop, false, 0x00, 0x00, 0x20, Parameter::None, "zoom stop", {}, 0, nullptr},
    {FrameKind::FocusNear, false, 0x01, 0x00, 0x01, Parameter::None, "focus near", {}, 0, nullptr},
    {FrameKind::FocusFar, false, 0x00, 0x80, 0x80, Parameter::None, "focus far", {}, 0, nullptr},
    {FrameKind::FocusStop, false, 0x00, 0x00, 0x00, Parameter::None, "focus stop", {}, 0, nullptr},
    {FrameKind::IrisOpen, false, 0x02, 0x00, 0x02, Parameter::None, "iris open", {}, 0, nullptr},
    {FrameKind::IrisClose, false, 0x04, 0x00, 0x04, Parameter::None, "iris close", {}, 0, nullptr},
    {FrameKind::IrisStop, false, 0x00, 0x00, 0x00, Parameter::None, "iris stop", {}, 0, nullptr},
    {FrameKind::StorePreset, false, 0x00, 0x03, 0x00, Parameter::Data2, "store preset %1", {}, 0, nullptr},
    {FrameKind::CallPreset, false, 0x00, 0x07, 0x00, Parameter::Data2, "call preset %1", {}, 0, nullptr},
    {FrameKind::SetZoomSpeed, false, 0x00, 0x25, 0x00, Parameter::Data2, "set zoom speed %1",
     {"low", "medium", "high"}, 0, nullptr},
    {FrameKind::SetFocusSpeed, false, 0x00, 0x27, 0x00, Parameter::Data2, "set focus speed %1",
     {"low", "medium", "high"}, 0, nullptr},
    {FrameKind::InitMotor, true, 0, TavroFrames::InitMotor, 0, Parameter::None, "initialise the motors", {}, 0,
     nullptr},
    {FrameKind::SetZoomPosition, true, 0, TavroFrames::SetZoomPosition, 0, Parameter::Position,
     "set zoom position %1", {}, 0, nullptr},
    {FrameKind::SetFocusPosition, true, 0, TavroFrames::SetFocusPosition, 0, Parameter::Position,
     "set focus position %1", {}, 0, nullptr},
    {FrameKind::SetIrisPosition, true, 0, TavroFrames::SetIrisPosition, 0, Parameter::Position,
     "set iris position %1", {}, 0, nullptr},
    {FrameKind::SetLensType, true, 0, TavroFrames::SetLensType, 0, Parameter::RepeatedByte, "set lens type %1", {},
     0, nullptr},
    {FrameKind::GetZoomPosition, true, 0, TavroFrames::GetZoomPosition, 0, Parameter::None, "get zoom position", {},
     4, "zoom position %1"},
    {FrameKind::GetFocusPosition, true, 0, TavroFrames::GetFocusPosition, 0, Parameter::None, "get focus position",
     {}, 4, "focus position %1"},
    {FrameKind::GetIrisPosition, true, 0, TavroFrames::GetIrisPosition, 0, Parameter::None, "get iris position", {},
     4, "iris position %1"},
    {FrameKind::SetSensitivityMode, true, 0, TavroFrames::SetSensitivityMode, 0, Parameter::Byte,
     "set long-cable mode %1", {"off", "on"}, 0, nullptr},
    {FrameKind::GetSensitivityMode, true, 0, TavroFrames::GetSensitivityMode, 0, Parameter::None,
     "get long-cable mode", {}, 4, "long-cable mode %1"},
    {FrameKind::CalibrateAll, true, 0, TavroFrames::CalibrateAll, 0, Parameter::None, "calibrate all", {}, 0,
     nullptr},
    {FrameKind::GetLensType, true, 0, TavroFrames::GetLensType, 0, Parameter::None, "get lens type", {}, 1,
     "lens type %1"},
    {FrameKind::StoreInDevice, true, 0, TavroFrames::StoreInDevice, 0, Parameter::None, "store in device", {}, 0,
     nullptr},
    {FrameKind::DisableStallDetection, true, 0, TavroFrames::DisableStallDetection, 0, Parameter::Byte,
     "stall detection %1", {"on", "off"}, 0, nullptr},
    {FrameKind::GetMaxFocusPosition, true, 0, TavroFrames::GetMaxFocusPosition, 0, Parameter::None,
     "get focus maximum", {}, 4, "focus maximum %1"},
    {FrameKind::GetMaxZoomPosition, true, 0, TavroFrames::GetMaxZoomPosition, 0, Parameter::None,
     "get zoom maximum", {}, 4, "zoom maximum %1"},
    {FrameKind::GetMaxIrisPosition, true, 0, TavroFrames::GetMaxIrisPosition, 0, Parameter::None,
     "get iris maximum", {}, 4, "iris maximum %1"},
}};

// The table is looked up by kind.
constexpr bool inKindOrder()
{
    for (size_t i = 0; i < shapes.size(); ++i) {
        if (shapes[i].kind != FrameKind(i))
            return false;
    }
    return true;
}
static_assert(inKindOrder(), "one shape per frame kind, in the order of FrameKind");

const Shape &shapeOf(FrameKind kind)
{
    return shapes.at(size_t(kind));
}

// The value a frame of this shape would carry, read from frame.
qint32 valueIn(const Shape &shape, const QByteArray &frame)
{
    switch (shape.parameter) {
    case Parameter::None:
        return 0;
    case Parameter::Data2:
    case Parameter::Byte:
    case Parameter::RepeatedByte:
        return quint8(frame.at(5));
    case Parameter::Position:
        break;
    }
    quint32 bits = 0;
    for (int i = 2; i < 6; ++i)
        bits = (bits << 8) | quint8(frame.at(i));
    return qint32(bits);
}

QString withValue(const char *text, qint32 value, const std::array<const char *, 3> &words)
{
    const QString format = QString::fromLatin1(text);
    if (!format.contains(QLatin1String("%1")))
        return format;
    if (value >= 0 && value < qint32(words.size()) && words.at(size_t(value)))
        return format.arg(QLatin1String(words.at(size_t(value))));
    return format.arg(value);
}

} // namespace

QByteArray TavroFrames::standard(quint8 command1, quint8 command2, quint8 data2, quint8 check)
{
    QByteArray frame;
    frame.append(StandardSync);
    frame.append(Address);
    frame.append(char(command1));
    frame.append(char(command2));
    frame.append(char(0x00));
    frame.append(char(data2));
    frame.append(char(check));
    return frame;
}

QByteArray TavroFrames::extended(ExtendedCode code, quint8 parameter, quint8 last)
{
    QByteArray frame;
    frame.append(ExtendedMarker);
    frame.append(char(code));
    frame.append(3, char(0x00));
    frame.append(char(parameter));
    frame.append(char(last));
    return frame;
}

QByteArray TavroFrames::position(ExtendedCode code, qint32 position)
{
    const quint32 bits = quint32(position);
    QByteArray frame;
    frame.append(ExtendedMarker);
    frame.append(char(code));
    frame.append(char(bits >> 24));
    frame.append(char(bits >> 16));
    frame.append(char(bits >> 8));
    frame.append(char(bits));
    frame.append(char(0x00));
    return frame;
}

QByteArray TavroFrames::encode(FrameKind kind, qint32 value)
{
    const Shape &shape = shapeOf(kind);
    const auto code = ExtendedCode(shape.command2);
    const auto byte = quint8(value & 0xFF);
    switch (shape.parameter) {
    case Parameter::None:
        return shape.extended ? extended(code) : standard(shape.command1, shape.command2, 0x00, shape.check);
    case Parameter::Data2:
        return standard(shape.command1, shape.command2, byte, shape.check);
    case Parameter::Byte:
        return extended(code, byte);
    case Parameter::RepeatedByte:
        return extended(code, byte, byte);
    case Parameter::Position:
        break;
    }
    return position(code, value);
}

// A frame means what the builders make of it: every kind whose frame,
// built with the value the frame carries, is the frame byte for byte.
std::optional<TavroFrames::Request> TavroFrames::decodeFrame(const QByteArray &frame)
{
    if (frame.size() != frameLength)
        return std::nullopt;
    Request request;
    for (const Shape &shape : shapes) {
        const qint32 value = valueIn(shape, frame);
        if (encode(shape.kind, value) == frame) {
            request.kinds.append(shape.kind);
            request.value = value;
        }
    }
    if (request.kinds.isEmpty())
        return std::nullopt;
    return request;
}

FrameMeaning TavroFrames::describeFrame(const QByteArray &frame)
{
    const std::optional<Request> request = decodeFrame(frame);
    if (!request)
        return {QStringLiteral("unknown frame"), false};
    QStringList names;
    for (FrameKind kind : request->kinds) {
        const Shape &shape = shapeOf(kind);
        names << withValue(shape.text, request->value, shape.words);
    }
    return {names.join(QLatin1String(" / ")), true};
}

int TavroFrames::replyDataBytes(const QByteArray &frame)
{
    const std::optional<Request> request = decodeFrame(frame);
    return request ? shapeOf(request->kinds.first()).replyBytes : 0;
}

FrameMeaning TavroFrames::describeReply(const QByteArray &frame, const QByteArray &reply)
{
    if (reply.isEmpty())
        return {};
    const quint8 status = quint8(reply.at(0));
    if (status != 0x00)
        return {QStringLiteral("rejected (status %1)").arg(FrameMeaning::hex(reply.left(1))), true};
    const std::optional<Request> request = decodeFrame(frame);
    const Shape *shape = request ? &shapeOf(request->kinds.first()) : nullptr;
    const QByteArray data = reply.mid(1);
    if (!shape || shape->replyBytes == 0)
        return {QStringLiteral("OK") + (data.isEmpty() ? QString() : FrameMeaning::extraBytes(data.size())), true};
    if (data.size() < shape->replyBytes)
        return {QStringLiteral("OK, %1 of %2 data bytes").arg(data.size()).arg(shape->replyBytes), true};
    const QByteArray value = data.left(shape->replyBytes);
    const qint32 number = shape->replyBytes == 1 ? *decodeLensType(value) : *decodeFourByteValue(value);
    QString text = QString::fromLatin1(shape->replyText).arg(number);
    if (data.size() > shape->replyBytes)
        text += FrameMeaning::extraBytes(data.size() - shape->replyBytes);
    return {text, true};
}

std::optional<qint32> TavroFrames::decodeFourByteValue(const QByteArray &data)
{
    if (data.size() != 4)
        return std::nullopt;
    quint32 bits = 0;
    for (int i = 3; i >= 0; --i)
        bits = (bits << 8) | quint8(data.at(i));
    return qint32(bits);
}

std::optional<int> TavroFrames::decodeLensType(const QByteArray &data)
{
    if (data.size() != 1)
        return std::nullopt;
    return int(qint8(data.at(0)));
}
