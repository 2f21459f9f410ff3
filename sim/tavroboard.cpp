#include "tavroboard.h"

#include <QStringList>

namespace {

constexpr char statusOk = 0x00;
constexpr char statusRejected = 0x01;

quint8 byteAt(const QByteArray &frame, int index)
{
    return quint8(frame.at(index));
}

QByteArray accepted()
{
    return QByteArray(1, statusOk);
}

QByteArray rejected()
{
    return QByteArray(1, statusRejected);
}

// Query data goes out least significant byte first.
QByteArray acceptedWithValue(qint32 value)
{
    QByteArray reply = accepted();
    const quint32 bits = quint32(value);
    for (int shift = 0; shift < 32; shift += 8)
        reply.append(char((bits >> shift) & 0xFF));
    return reply;
}

// Position parameters come most significant byte first, in bytes 3 to 6.
qint32 parameterOf(const QByteArray &frame)
{
    quint32 bits = 0;
    for (int i = 2; i < 6; ++i)
        bits = (bits << 8) | byteAt(frame, i);
    return qint32(bits);
}

bool isNumberIn(quint8 value, int minimum, int maximum)
{
    return value >= minimum && value <= maximum;
}

} // namespace

TavroBoard::TavroBoard(const TavroSettings &stored)
    : m_settings(stored)
{
}

void TavroBoard::setStoreHandler(std::function<void(const TavroSettings &)> handler)
{
    m_storeHandler = std::move(handler);
}

QByteArray TavroBoard::refusal(const QByteArray &) const
{
    return rejected();
}

QByteArray TavroBoard::handleFrame(const QByteArray &frame, qint64 nowMs)
{
    if (frame.size() != frameSize)
        return rejected();
    switch (byteAt(frame, 0)) {
    case 0xFF:
        return handleStandard(frame, nowMs);
    case 0xFE:
        return handleExtended(frame, nowMs);
    default:
        return rejected();
    }
}

// Standard frames: FF, address 00, command 1, command 2, data 1 = 00, data 2,
// and the check byte exactly as the board's command table has it.
QByteArray TavroBoard::handleStandard(const QByteArray &frame, qint64 nowMs)
{
    if (byteAt(frame, 1) != 0x00 || byteAt(frame, 4) != 0x00)
        return rejected();
    const quint8 command1 = byteAt(frame, 2);
    const quint8 command2 = byteAt(frame, 3);
    const quint8 data2 = byteAt(frame, 5);
    const quint8 check = byteAt(frame, 6);
    const quint32 movement = (quint32(command1) << 16) | (quint32(command2) << 8) | check;

    if (data2 == 0x00) {
        switch (movement) {
        case 0x002020: // zoom tele
            run(Axis::Zoom, 1, nowMs);
            return accepted();
        case 0x004020: // zoom wide
            run(Axis::Zoom, -1, nowMs);
            return accepted();
        case 0x000020: // zoom stop
            m_zoom.stop(nowMs);
            return accepted();
        case 0x010001: // focus near
            run(Axis::Focus, -1, nowMs);
            return accepted();
        case 0x008080: // focus far
            run(Axis::Focus, 1, nowMs);
            return accepted();
        case 0x000000: // the one stop frame of both focus and iris
            m_focus.stop(nowMs);
            m_iris.stop(nowMs);
            return accepted();
        case 0x020002: // iris open
            run(Axis::Iris, 1, nowMs);
            return accepted();
        case 0x040004: // iris close
            run(Axis::Iris, -1, nowMs);
            return accepted();
        default:
            break;
        }
    }

    if (command1 != 0x00 || check != 0x00)
        return rejected();
    switch (command2) {
    case 0x03: { // set preset
        if (!isNumberIn(data2, 1, 10))
            return rejected();
        m_settings.presets[data2 - 1u] = {m_zoom.position(nowMs), m_focus.position(nowMs),
                                         m_iris.position(nowMs)};
        return accepted();
    }
    case 0x07: { // go to preset
        if (!isNumberIn(data2, 1, 10))
            return rejected();
        const TavroPreset preset = m_settings.presets[data2 - 1u];
        m_zoom.moveTo(preset.zoom, rate(Axis::Zoom), nowMs);
        m_focus.moveTo(preset.focus, rate(Axis::Focus), nowMs);
        m_iris.moveTo(preset.iris, rate(Axis::Iris), nowMs);
        return accepted();
    }
    case 0x25: // zoom speed
    case 0x27: // focus speed
        if (!isNumberIn(data2, 0, 2))
            return rejected();
        changeSpeed(command2 == 0x25 ? Axis::Zoom : Axis::Focus, data2, nowMs);
        return accepted();
    default:
        return rejected();
    }
}

// Extended frames: FE, command code, four parameter bytes, 00 (the lens type
// frame repeats its parameter there).
QByteArray TavroBoard::handleExtended(const QByteArray &frame, qint64 nowMs)
{
    const quint8 code = byteAt(frame, 1);
    const qint32 parameter = parameterOf(frame);
    const quint8 last = byteAt(frame, 6);
    const quint8 oneByte = byteAt(frame, 5);
    const bool oneByteParameter = (parameter & ~0xFF) == 0;

    if (code == 0x07) { // lens type
        if (!oneByteParameter || last != oneByte)
            return rejected();
        m_settings.lensType = oneByte;
        return accepted();
    }
    if (last != 0x00)
        return rejected();

    switch (code) {
    case 0x04:
        m_zoom.moveTo(parameter, rate(Axis::Zoom), nowMs);
        return accepted();
    case 0x05:
        m_focus.moveTo(parameter, rate(Axis::Focus), nowMs);
        return accepted();
    case 0x06:
        m_iris.moveTo(parameter, rate(Axis::Iris), nowMs);
        return accepted();
    case 0x0B: // long-cable sensitivity
    case 0x13: // stall detection off (1) or on (0)
        if (!oneByteParameter || oneByte > 1)
            return rejected();
        if (code == 0x0B)
            m_settings.sensitivityMode = oneByte;
        else
            m_settings.stallDetectionDisabled = oneByte == 1;
        return accepted();
    default:
        break;
    }

    if (parameter != 0)
        return rejected();
    switch (code) {
    case 0x01: // initialise the motors: whatever moves stops
        m_zoom.stop(nowMs);
        m_focus.stop(nowMs);
        m_iris.stop(nowMs);
        return accepted();
    case 0x08:
        return acceptedWithValue(m_zoom.position(nowMs));
    case 0x09:
        return acceptedWithValue(m_focus.position(nowMs));
    case 0x0A:
        return acceptedWithValue(m_iris.position(nowMs));
    case 0x0C:
        return acceptedWithValue(m_settings.sensitivityMode);
    case 0x0F:
        calibrate(nowMs);
        return accepted();
    case 0x10:
        return accepted().append(char(m_settings.lensType));
    case 0x11:
        if (m_storeHandler)
            m_storeHandler(m_settings);
        return accepted();
    case 0x14:
        return acceptedWithValue(focusMaximum);
    case 0x15:
        return acceptedWithValue(zoomMaximum);
    case 0x16:
        return acceptedWithValue(irisMaximum);
    default:
        return rejected();
    }
}

const MotorAxis &TavroBoard::motor(Axis axis) const
{
    switch (axis) {
    case Axis::Zoom:
        return m_zoom;
    case Axis::Focus:
        return m_focus;
    case Axis::Iris:
        break;
    }
    return m_iris;
}

MotorAxis &TavroBoard::motor(Axis axis)
{
    return const_cast<MotorAxis &>(static_cast<const TavroBoard *>(this)->motor(axis));
}

int TavroBoard::rate(Axis axis) const
{
    switch (axis) {
    case Axis::Zoom:
        return zoomRates[qBound(0, m_settings.zoomSpeed, 2)];
    case Axis::Focus:
        return focusRates[qBound(0, m_settings.focusSpeed, 2)];
    case Axis::Iris:
        break;
    }
    return irisRate;
}

QString TavroBoard::motorsText(qint64 nowMs) const
{
    QStringList motors;
    const char *const names[] = {"zoom", "focus", "iris"};
    for (Axis axis : {Axis::Zoom, Axis::Focus, Axis::Iris})
        motors << QStringLiteral("%1 %2 lens %3")
                      .arg(QLatin1String(names[int(axis)]))
                      .arg(position(axis, nowMs))
                      .arg(lensPosition(axis, nowMs));
    return motors.join(QLatin1String(", "));
}

void TavroBoard::setBacklash(int counts)
{
    for (Axis axis : {Axis::Zoom, Axis::Focus, Axis::Iris})
        motor(axis).setBacklash(counts);
}

// A run goes on until its stop frame or the end stop.
void TavroBoard::run(Axis axis, int direction, qint64 nowMs)
{
    MotorAxis &axisMotor = motor(axis);
    const qint64 beyond = direction > 0 ? qint64(axisMotor.maximum()) + 1 : qint64(axisMotor.minimum()) - 1;
    axisMotor.moveTo(beyond, rate(axis), nowMs);
}

// The new level applies at once: a motor on its way goes on to the same
// target at the new speed.
void TavroBoard::changeSpeed(Axis axis, int level, qint64 nowMs)
{
    (axis == Axis::Zoom ? m_settings.zoomSpeed : m_settings.focusSpeed) = level;
    motor(axis).changeRate(rate(axis), nowMs);
}

// The board drives every motor to its reference at 0; the drive takes
// calibrationMs whatever the distance.
void TavroBoard::calibrate(qint64 nowMs)
{
    for (Axis axis : {Axis::Zoom, Axis::Focus, Axis::Iris})
        motor(axis).moveWithin(0, calibrationMs, nowMs);
}
