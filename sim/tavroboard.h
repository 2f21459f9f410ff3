#ifndef TAVROBOARD_H
#define TAVROBOARD_H

#include "boardmodel.h"
#include "motoraxis.h"
#include "tavrosettings.h"

#include <functional>

// The Tavro board: zoom, focus and iris motors behind 7-byte frames. Every
// frame of its command set is answered with status 0x00 (queries add their
// data, least significant byte first); anything else gets status 0x01.
class TavroBoard : public BoardModel
{
public:
    enum class Axis { Zoom, Focus, Iris };

    static constexpr int frameSize = 7;
    static constexpr int lineBaudRate = 19200;
    static constexpr int zoomMaximum = 7350;
    static constexpr int focusMaximum = 4000;
    static constexpr int irisMaximum = 5500;
    // Units per second of zoom and of focus at speed levels 0, 1 and 2, as
    // far apart as a lens servo's: the low level creeps (the zoom crosses its
    // range in 18 s), the high one snaps (in 1.2 s). The board powers up at
    // the levels of its stored settings: 1 (medium) for both until other
    // levels are stored.
    static constexpr int zoomRates[3] = {400, 1500, 6000};
    static constexpr int focusRates[3] = {300, 1200, 4000};
    static constexpr int irisRate = 2750;
    // Units per second squared of every motor: the high speed is reached in
    // 100 ms, the medium zoom in 25 ms, the iris's in 46 ms.
    static constexpr double acceleration = 60000;
    // How long a calibration runs; the motors then stand at 0.
    static constexpr qint64 calibrationMs = 3000;

    explicit TavroBoard(const TavroSettings &stored = TavroSettings());

    int frameLength() const override { return frameSize; }
    int baudRate() const override { return lineBaudRate; }
    QByteArray handleFrame(const QByteArray &frame, qint64 nowMs) override;
    QByteArray refusal(const QByteArray &frame) const override;
    QString motorsText(qint64 nowMs) const override;

    // Called with the settings when the board is told to store them; the
    // program keeps them in its state file.
    void setStoreHandler(std::function<void(const TavroSettings &)> handler);

    const MotorAxis &motor(Axis axis) const;
    int position(Axis axis, qint64 nowMs) const { return motor(axis).position(nowMs); }
    int target(Axis axis) const { return motor(axis).target(); }
    // Where the lens part the motor drives is, which lags the motor's count by
    // the backlash after the motor turns downwards.
    int lensPosition(Axis axis, qint64 nowMs) const { return motor(axis).lensPosition(nowMs); }
    // The play between every motor and its lens part, in counts (0: none).
    void setBacklash(int counts);
    // The settings as they are now, stored or not.
    const TavroSettings &settings() const { return m_settings; }

private:
    QByteArray handleStandard(const QByteArray &frame, qint64 nowMs);
    QByteArray handleExtended(const QByteArray &frame, qint64 nowMs);
    MotorAxis &motor(Axis axis);
    int rate(Axis axis) const;
    // Towards the end stop above (direction 1) or below (-1).
    void run(Axis axis, int direction, qint64 nowMs);
    void changeSpeed(Axis axis, int level, qint64 nowMs);
    void calibrate(qint64 nowMs);

    TavroSettings m_settings;
    MotorAxis m_zoom{0, zoomMaximum, 3675, acceleration};
    MotorAxis m_focus{0, focusMaximum, 2000, acceleration};
    MotorAxis m_iris{0, irisMaximum, 2750, acceleration};
    std::function<void(const TavroSettings &)> m_storeHandler;
};

#endif // TAVROBOARD_H
