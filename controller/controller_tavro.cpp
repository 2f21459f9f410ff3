#include "controller_tavro.h"

#include "portkeeper.h"

#include <QByteArray>
#include <QDebug>
#include <QSerialPortInfo>

using namespace TavroFrames;

namespace {

constexpr qint32 BaudRate = 19200;
constexpr int FourBytes = 4;
constexpr int OneByte = 1;

LinkTimeouts &currentTimeouts()
{
    static LinkTimeouts timeouts{5000, 3000, 1000};
    return timeouts;
}

// A command is judged by its status byte alone; whatever follows is dropped.
Outcome runCommand(PortKeeper &port, const QByteArray &frame)
{
    SerialTransaction transaction(BoardType::Tavro, port);
    if (transaction.exchange(SerialTransaction::Kind::Command, frame, currentTimeouts())) {
        const QByteArray reply = transaction.readAll();
        transaction.acknowledge(reply.startsWith('\x00'), reply);
    }
    return transaction.outcome();
}

// The status byte comes with the first bytes of the reply; the data may follow
// in any number of pieces, which together get the extra wait, counted from the
// first bytes. Bytes beyond the expected data are not part of the reply.
Outcome runQuery(PortKeeper &port, const QByteArray &frame, QByteArray *response, int nofBytes)
{
    const LinkTimeouts limits = currentTimeouts();
    SerialTransaction transaction(BoardType::Tavro, port);
    if (transaction.exchange(SerialTransaction::Kind::Query, frame, limits)) {
        const QByteArray status = transaction.read(1);
        if (transaction.acknowledge(status == QByteArray(1, '\x00'), status))
            transaction.receiveData(response, nofBytes, QDeadlineTimer(limits.extraReplyMs, Qt::PreciseTimer));
    }
    return transaction.outcome();
}

} // namespace

ControllerTavro::ControllerTavro(const QString &portName)
    : Controller(portName)
    , m_port(std::make_unique<PortKeeper>(portName, BaudRate))
{
}

ControllerTavro::ControllerTavro(const QSerialPortInfo &portInfo)
    : ControllerTavro(portInfo.portName())
{
}

ControllerTavro::~ControllerTavro() = default;

LinkTimeouts ControllerTavro::timeouts()
{
    return currentTimeouts();
}

void ControllerTavro::setTimeouts(const LinkTimeouts &timeouts)
{
    currentTimeouts() = timeouts;
}

void ControllerTavro::setZoomPosition(int position)
{
    sendPosition(SetZoomPosition, position);
}

void ControllerTavro::setFocusPosition(int position)
{
    sendPosition(SetFocusPosition, position);
}

void ControllerTavro::setIrisPosition(int position)
{
    sendPosition(SetIrisPosition, position);
}

// The Pelco-D frames, with the check bytes the board accepts, come from the
// frame table; the focus and iris stops are one and the same frame.
void ControllerTavro::pelco_d_zoom_in()
{
    transmitData(encode(FrameKind::ZoomTele));
}

void ControllerTavro::pelco_d_zoom_out()
{
    transmitData(encode(FrameKind::ZoomWide));
}

void ControllerTavro::pelco_d_zoom_stop()
{
    transmitData(encode(FrameKind::ZoomStop));
}

void ControllerTavro::pelco_d_focus_near()
{
    transmitData(encode(FrameKind::FocusNear));
}

void ControllerTavro::pelco_d_focus_far()
{
    transmitData(encode(FrameKind::FocusFar));
}

void ControllerTavro::pelco_d_focus_stop()
{
    transmitData(encode(FrameKind::FocusStop));
}

void ControllerTavro::pelco_d_iris_open()
{
    transmitData(encode(FrameKind::IrisOpen));
}

void ControllerTavro::pelco_d_iris_close()
{
    transmitData(encode(FrameKind::IrisClose));
}

void ControllerTavro::pelco_d_iris_stop()
{
    transmitData(encode(FrameKind::IrisStop));
}

void ControllerTavro::callPreset(char preset)
{
    transmitData(encode(FrameKind::CallPreset, quint8(preset)));
}

void ControllerTavro::storePreset(char preset)
{
    transmitData(encode(FrameKind::StorePreset, quint8(preset)));
}

void ControllerTavro::setFocusSpeed(char speed)
{
    transmitData(encode(FrameKind::SetFocusSpeed, quint8(speed)));
}

void ControllerTavro::setZoomSpeed(char speed)
{
    transmitData(encode(FrameKind::SetZoomSpeed, quint8(speed)));
}

void ControllerTavro::calibrateAll()
{
    transmitData(extended(CalibrateAll));
}

void ControllerTavro::setLensType(int lensType)
{
    // The board takes one byte and expects it repeated in the last byte.
    const quint8 type = quint8(lensType & 0xFF);
    transmitData(extended(SetLensType, type, type));
}

int ControllerTavro::getLensType()
{
    QByteArray reply;
    if (!transmitAndRecieve(extended(GetLensType), &reply, OneByte))
        return -1;
    return decodeLensType(reply).value_or(-1);
}

void ControllerTavro::initMotor()
{
    transmitData(extended(InitMotor));
}

int ControllerTavro::getZoomPosition()
{
    return queryValue(GetZoomPosition, "getZoomPosition failed", "getZoomPosition failed",
                      "position: ");
}

int ControllerTavro::getFocusPosition()
{
    return queryValue(GetFocusPosition, "getFocusPosition failed", "getFocusPosition failed",
                      "position: ");
}

int ControllerTavro::getIrisPosition()
{
    return queryValue(GetIrisPosition, "getIrisPosition failed", "getIrisPosition failed",
                      "position: ");
}

void ControllerTavro::disableStallDetection(bool disable)
{
    transmitData(extended(DisableStallDetection, disable ? 0x01 : 0x00));
}

void ControllerTavro::storeInDevice()
{
    transmitData(extended(StoreInDevice));
}

int ControllerTavro::getMaxZoomPosition()
{
    return queryValue(GetMaxZoomPosition, "MaxgetZoomPosition failed", "MaxgetZoomPosition failed",
                      "Maxposition: ");
}

int ControllerTavro::getMaxFocusPosition()
{
    return queryValue(GetMaxFocusPosition, "getMaxFocusPosition failed",
                      "getMaxFocusPosition failed", "Maxposition: ");
}

int ControllerTavro::getMaxIrisPosition()
{
    return queryValue(GetMaxIrisPosition, "getIrisMaxPosition failed", "getMaxIrisPosition failed",
                      "Maxposition: ");
}

void ControllerTavro::setSensitivityMode(char sensitivityMode)
{
    transmitData(extended(SetSensitivityMode, quint8(sensitivityMode)));
}

int ControllerTavro::getSensitivityMode()
{
    return queryValue(GetSensitivityMode, "getSensitivityMode failed", "getSensitivityMode failed",
                      "******** SensitivityMode: ");
}

void ControllerTavro::callPresetAtSpeed(char preset, char speed)
{
    const bool zoomTaken = transmitData(encode(FrameKind::SetZoomSpeed, quint8(speed)));
    if (!zoomTaken || !transmitData(encode(FrameKind::SetFocusSpeed, quint8(speed)))) {
        qCritical() << "Preset speed not taken, preset" << int(quint8(preset)) << "not called";
        return;
    }
    callPreset(preset);
}

bool ControllerTavro::transmitData(QByteArray data)
{
    return noted(runCommand(*m_port, data));
}

bool ControllerTavro::transmitAndRecieve(QByteArray data, QByteArray *response, int nofBytes)
{
    return noted(runQuery(*m_port, data, response, nofBytes));
}

void ControllerTavro::sendPosition(ExtendedCode code, int position)
{
    qDebug() << "Position: " << position;
    const QByteArray frame = TavroFrames::position(code, position);
    qDebug() << frame;
    transmitData(frame);
}

int ControllerTavro::queryValue(ExtendedCode code, const char *transactionFailedLine,
                                const char *lengthFailedLine, const char *successLabel)
{
    QByteArray reply;
    if (!transmitAndRecieve(extended(code), &reply, FourBytes)) {
        qDebug() << transactionFailedLine;
        return -1;
    }
    const std::optional<qint32> value = decodeFourByteValue(reply);
    if (!value) {
        qDebug() << lengthFailedLine;
        return -1;
    }
    qDebug() << successLabel << *value;
    return *value;
}
