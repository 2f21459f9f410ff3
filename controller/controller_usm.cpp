#include "controller_usm.h"

#include "lens.h"
#include "pause.h"
#include "portkeeper.h"

#include <QDebug>
#include <QSerialPortInfo>
#include <QSettings>

#include <limits>

namespace {

constexpr qint32 pellanBaudRate = 115200;

// The speed of stops and of the calibration runs, whatever the operator chose.
constexpr quint32 fixedSpeed = 81;
// Longer than any lens's travel, so each calibration run ends at a stop.
constexpr qint32 calibrationTravel = 48500;
// Left unused below the far end found by calibration.
constexpr int farEndMargin = 100;
constexpr unsigned long calibrationRunMs = 8000;
constexpr unsigned long stopSettleMs = 500;
// Raw steps per focus position.
constexpr int stepsPerPosition = 10;

LinkTimeouts &linkTimeouts()
{
    static LinkTimeouts timeouts{5000, 5000, 0};
    return timeouts;
}

QString presetKey(int index)
{
    return QStringLiteral("preset/") + QString::number(index);
}

// Preset numbers 1..10 map to entries 0..9; anything else (including the
// negative bytes a char may carry) has no entry.
std::optional<int> presetIndex(char preset)
{
    const int index = int(static_cast<signed char>(preset)) - 1;
    if (index < 0 || index > 9)
        return std::nullopt;
    return index;
}

// The move frame's speed for a speed level: Low, Medium, High; anything else
// is Medium.
quint32 speedOfLevel(char level)
{
    switch (level) {
    case 0:
        return 40;
    case 2:
        return 243;
    default:
        return 81;
    }
}

// A travel the board cannot be given is cut to the largest one in the same
// direction rather than wrapped into the opposite one.
qint32 clampedTravel(qint64 travel)
{
    if (travel > std::numeric_limits<qint32>::max())
        return std::numeric_limits<qint32>::max();
    if (travel < std::numeric_limits<qint32>::min())
        return std::numeric_limits<qint32>::min();
    return qint32(travel);
}

// The board acknowledges a command by echoing it, CRC included. The echo may
// come in pieces; it is compared once complete, together with whatever came
// along with it, since an echo with bytes after it is no echo.
Outcome runCommand(PortKeeper &port, const QByteArray &sealedFrame)
{
    SerialTransaction transaction(BoardType::Pellan, port);
    if (transaction.exchange(SerialTransaction::Kind::Command, sealedFrame, linkTimeouts())) {
        QByteArray reply;
        transaction.receive(reply, sealedFrame.size(), transaction.replyDeadline());
        reply += transaction.readAll();
        transaction.acknowledge(reply == sealedFrame, reply);
    }
    return transaction.outcome();
}

// The whole reply must be in within the reply time-out, counted from the
// write, however many pieces it comes in; bytes beyond nofBytes are dropped
// by the next exchange.
Outcome runQuery(PortKeeper &port, const QByteArray &sealedFrame, QByteArray *response, int nofBytes)
{
    SerialTransaction transaction(BoardType::Pellan, port);
    if (transaction.exchange(SerialTransaction::Kind::Query, sealedFrame, linkTimeouts()))
        transaction.receiveData(response, nofBytes, transaction.replyDeadline());
    return transaction.outcome();
}

} // namespace

ControllerUSM::ControllerUSM(const QString &portName)
    : Controller(portName)
    , m_port(std::make_unique<PortKeeper>(portName, pellanBaudRate))
    , m_lens(std::make_unique<Lens>())
    , m_usmSettings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                QStringLiteral("Corvane"),
                                                QStringLiteral("Tavro Lens Controller")))
{
    m_lens->setResolution(16384);
    m_lens->setSpeed(30);
    m_lens->setMaxSteps(45500);

    for (int i = 0; i < int(m_presets.size()); ++i) {
        const QString key = presetKey(i);
        m_presets[i] = m_usmSettings->value(key, 0).toInt();
        qDebug() << key << ": " << m_presets[i];
    }
}

ControllerUSM::ControllerUSM(const QSerialPortInfo &portInfo)
    : ControllerUSM(portInfo.portName())
{
}

// Releasing the store writes back whatever is still pending.
ControllerUSM::~ControllerUSM() = default;

LinkTimeouts ControllerUSM::timeouts()
{
    return linkTimeouts();
}

void ControllerUSM::setTimeouts(const LinkTimeouts &timeouts)
{
    linkTimeouts() = timeouts;
}

// --- Transport ---------------------------------------------------------------

void ControllerUSM::calcModbusCRC(QByteArray &data)
{
    data = PellanFrames::sealed(data);
}

bool ControllerUSM::transmitData(QByteArray data)
{
    calcModbusCRC(data);
    return noted(runCommand(*m_port, data));
}

bool ControllerUSM::transmitAndRecieve(QByteArray data, QByteArray *response, int nofBytes)
{
    calcModbusCRC(data);
    return noted(runQuery(*m_port, data, response, nofBytes));
}

// --- Focus motor -------------------------------------------------------------

std::optional<PellanFrames::Status> ControllerUSM::queryStatus(const char *failureLine)
{
    QByteArray reply;
    const bool replied = transmitAndRecieve(PellanFrames::statusQuery(), &reply, PellanFrames::statusReplyLength);
    const std::optional<PellanFrames::Status> status = PellanFrames::decodeStatus(reply);
    if (!status) {
        // A reply came, but no whole status from the board: as much a failed
        // exchange as none. A position from it could send the focus anywhere.
        if (replied && !noted(Outcome(Outcome::Kind::NoReply)))
            qCritical().noquote() << "Status reply not used,"
                                  << *PellanFrames::statusReplyFault(reply) + QLatin1Char(':') << FrameMeaning::hex(reply);
        qDebug() << failureLine;
        return std::nullopt;
    }
    qDebug() << reply.mid(8, 4).toHex();
    qDebug() << "position: " << status->rawPosition;
    return status;
}

std::optional<int> ControllerUSM::getRawFocusPosition(int *rotating)
{
    const std::optional<PellanFrames::Status> status = queryStatus("getRawFocusPosition failed");
    if (!status)
        return std::nullopt;
    *rotating = status->running;
    return status->rawPosition;
}

std::optional<int> ControllerUSM::readFocusPosition()
{
    const std::optional<PellanFrames::Status> status = queryStatus("getFocusPosition failed");
    if (!status)
        return std::nullopt;
    return int((qint64(status->rawPosition) - m_lens->getPositionOffset()) / stepsPerPosition);
}

bool ControllerUSM::checkBeforeMove(bool logMotorStatus)
{
    int rotating = 0;
    std::optional<int> raw = getRawFocusPosition(&rotating);
    if (raw && logMotorStatus)
        qDebug() << "motor status: " << rotating;
    if (raw && rotating != 0) {
        if (!logMotorStatus)
            qDebug() << "Motor is running";
        pelco_d_focus_stop();
        Pause::wait(stopSettleMs);
        raw = getRawFocusPosition(&rotating);
    }
    if (!raw) {
        qCritical() << "Focus position unknown, move not sent";
        return false;
    }
    m_lens->setCurrentPosition(*raw);
    return true;
}

void ControllerUSM::moveTo(qint64 targetRaw, uint32_t speed)
{
    const qint32 travel = clampedTravel(targetRaw - m_lens->getCurrentPosition());
    transmitData(PellanFrames::moveCommand(speed, travel));
}

void ControllerUSM::moveFocusTo(int position, uint32_t speed)
{
    if (!checkBeforeMove(false))
        return;
    moveTo(qint64(stepsPerPosition) * position + m_lens->getPositionOffset(), speed);
}

void ControllerUSM::setFocusPosition(int position)
{
    moveFocusTo(position, m_focusSpeed);
}

void ControllerUSM::pelco_d_focus_near()
{
    if (!checkBeforeMove(false))
        return;
    moveTo(m_lens->getPositionOffset(), m_focusSpeed);
}

void ControllerUSM::pelco_d_focus_far()
{
    if (!checkBeforeMove(true))
        return;
    moveTo(qint64(m_lens->getMaxSteps()) + m_lens->getPositionOffset(), m_focusSpeed);
}

void ControllerUSM::pelco_d_focus_stop()
{
    transmitData(PellanFrames::moveCommand(fixedSpeed, 0));
}

int ControllerUSM::getFocusPosition()
{
    return readFocusPosition().value_or(-1);
}

int ControllerUSM::getMaxFocusPosition()
{
    return m_lens->getMaxSteps() / stepsPerPosition;
}

// A lens resting a few steps below raw 0 reads as focus position -1 on a new
// (uncalibrated) driver; the board still answered, so only a missing reply
// means that no board is there.
int ControllerUSM::getLensType()
{
    if (!readFocusPosition())
        return -1;
    return m_lensType;
}

// --- Calibration, presets, speed and store -------------------------------------

void ControllerUSM::calibrateAll()
{
    Pause::announce(2 * calibrationRunMs);
    int rotating = 0;
    transmitData(PellanFrames::moveCommand(fixedSpeed, calibrationTravel));
    Pause::wait(calibrationRunMs);
    const std::optional<int> maxPos = getRawFocusPosition(&rotating);
    transmitData(PellanFrames::moveCommand(fixedSpeed, -calibrationTravel));
    Pause::wait(calibrationRunMs);
    pelco_d_focus_stop();
    const std::optional<int> minPos = getRawFocusPosition(&rotating);

    const qint64 travel = maxPos && minPos ? qint64(*maxPos) - *minPos - farEndMargin : 0;
    if (!maxPos || !minPos) {
        // A range computed from a missing end would send every later move to
        // the wrong place; the previous range is still the best known one.
        qCritical() << "Focus range not measured, previous range kept";
    } else if (travel <= 0) {
        // The motor did not travel (stalled, unpowered or not connected): a
        // range of nothing would make "Far" run towards the near end.
        qCritical() << "No focus travel measured, previous range kept";
    } else {
        m_lens->setPositionOffset(*minPos);
        m_lens->setMaxSteps(int(qMin<qint64>(travel, std::numeric_limits<int>::max())));
        m_lens->setCurrentPosition(*minPos);
    }

    // The lens read back where the calibration left it: these two status
    // queries go out in every build, also one whose debug lines are compiled
    // out, so that the board sees the same frames from every build.
    const int rawMinPos = getRawFocusPosition(&rotating).value_or(-1);
    const int minFocusPos = getFocusPosition();
    qDebug() << "rawMinPos: " << rawMinPos;
    qDebug() << "minPos: " << minFocusPos;
    qDebug() << "maxPos: " << maxPos.value_or(-1);
    qDebug() << "maxSteps: " << m_lens->getMaxSteps();
    qDebug() << "posOffset: " << m_lens->getPositionOffset();
}

void ControllerUSM::storePreset(char preset)
{
    const std::optional<int> index = presetIndex(preset);
    if (!index)
        return;
    const std::optional<int> position = readFocusPosition();
    if (!position) {
        qCritical() << "Focus position unknown, preset" << *index + 1 << "kept";
        return;
    }
    m_presets[*index] = *position;
    qDebug() << "Store position: " << *position << "in preset: " << *index;
}

void ControllerUSM::callPreset(char preset)
{
    const std::optional<int> index = presetIndex(preset);
    if (!index)
        return;
    qDebug() << "Setting position to: " << m_presets[*index];
    setFocusPosition(m_presets[*index]);
}

void ControllerUSM::callPresetAtSpeed(char preset, char speed)
{
    const std::optional<int> index = presetIndex(preset);
    if (!index)
        return;
    qDebug() << "Setting position to: " << m_presets[*index] << "at speed level" << int(quint8(speed));
    moveFocusTo(m_presets[*index], speedOfLevel(speed));
}

void ControllerUSM::storeInDevice()
{
    for (int i = 0; i < int(m_presets.size()); ++i) {
        const QString key = presetKey(i);
        m_usmSettings->setValue(key, m_presets[i]);
        qDebug() << "Storing " << key << " val: " << m_presets[i];
    }
    // The operator pressed Store to make the presets safe now, not at some
    // later write-back that a crash or power loss could prevent.
    m_usmSettings->sync();
    if (m_usmSettings->status() != QSettings::NoError) {
        noted(Outcome(Outcome::Kind::Rejected, QStringLiteral("the presets could not be stored on this computer")));
        qCritical() << "Could not store the presets: " << m_usmSettings->status();
    }
}

void ControllerUSM::setFocusSpeed(char speed)
{
    qDebug() << "focus speed: " << uint(quint8(speed));
    m_focusSpeed = speedOfLevel(speed);
}

// --- Operations the focus board does not have ------------------------------

void ControllerUSM::setZoomPosition(int) {}
void ControllerUSM::setIrisPosition(int) {}
void ControllerUSM::pelco_d_zoom_in() {}
void ControllerUSM::pelco_d_zoom_out() {}
void ControllerUSM::pelco_d_zoom_stop() {}
void ControllerUSM::pelco_d_iris_open() {}
void ControllerUSM::pelco_d_iris_close() {}
void ControllerUSM::pelco_d_iris_stop() {}
void ControllerUSM::setZoomSpeed(char) {}
void ControllerUSM::setLensType(int) {}
void ControllerUSM::initMotor() {}
void ControllerUSM::disableStallDetection(bool) {}
void ControllerUSM::setSensitivityMode(char) {}
int ControllerUSM::getZoomPosition() { return 0; }
int ControllerUSM::getIrisPosition() { return 0; }
int ControllerUSM::getMaxZoomPosition() { return 0; }
int ControllerUSM::getMaxIrisPosition() { return 0; }
int ControllerUSM::getSensitivityMode() { return 0; }
