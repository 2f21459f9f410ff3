#ifndef PELLANBOARD_H
#define PELLANBOARD_H

#include "boardmodel.h"
#include "motoraxis.h"

// The Pellan focus board: one focus motor behind 16-byte Modbus RTU frames
// (slave 0x01). A move command (0x64) is echoed and moves the motor by its
// travel; a status query (0x65) is answered with the running flag and the raw
// position. Frames with a wrong CRC or for another slave get no answer.
class PellanBoard : public BoardModel
{
public:
    static constexpr int frameSize = 16;
    static constexpr int lineBaudRate = 115200;
    static constexpr quint8 slaveAddress = 0x01;
    // Mechanical ends of the focus travel, in raw steps. The travel is shorter
    // than the driver's calibration runs (48500 steps each way), so a
    // calibration finds both ends.
    static constexpr int nearEnd = 1000;
    static constexpr int farEnd = 49500;
    static constexpr int startPosition = 20000;
    // Raw steps per second for each unit of the speed field. Every move frame
    // carries its own speed: the board has no speed level of its own, and the
    // driver's levels low, medium and high (40, 81, 243) give 4000, 8100 and
    // 24300 steps per second.
    static constexpr int stepsPerSpeedUnit = 100;
    // Raw steps per second squared: the high speed is reached in 100 ms.
    static constexpr double acceleration = 243000;

    PellanBoard();

    int frameLength() const override { return frameSize; }
    int baudRate() const override { return lineBaudRate; }
    QByteArray handleFrame(const QByteArray &frame, qint64 nowMs) override;
    // A Modbus exception reply, "slave device failure".
    QByteArray refusal(const QByteArray &frame) const override;
    QString motorsText(qint64 nowMs) const override;

    int rawPosition(qint64 nowMs) const { return m_focus.position(nowMs); }
    int target() const { return m_focus.target(); }
    bool isRunning(qint64 nowMs) const { return m_focus.isMoving(nowMs); }
    // Where the focus ring is, in raw steps: behind the motor by the backlash
    // after the motor turns towards the near end.
    int lensPosition(qint64 nowMs) const { return m_focus.lensPosition(nowMs); }
    void setBacklash(int steps) { m_focus.setBacklash(steps); }

private:
    QByteArray statusReply(qint64 nowMs) const;

    MotorAxis m_focus{nearEnd, farEnd, startPosition, acceleration};
};

#endif // PELLANBOARD_H
