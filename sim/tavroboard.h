#ifndef TAVROBOARD_H
#define TAVROBOARD_H

#include "boardmodel.h"
#include "motoraxis.h"
#include "tavrosettings.h"

#include <functional>
#include <limits>

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
    // Units per second of zoom and focus at speed levels 0, 1 and 2.
    static constexpr int speedRates[3] = {1500, 3000, 6000};
    static constexpr int irisRate = 2750;
    // How long a calibration runs; the motors then stand at 0.
    static constexpr qint64 calibrationMs = 3000;

    explicit TavroBoard(const TavroSettings &stored = TavroSettings());

    int frameLength() const override { return frameSize; }
    int baudRate() const override { return lineBaudRate; }
    QByteArray handleFrame(const QByteArray &frame, qint64 nowMs) override;
    QByteArray refusal(const QByteArray &frame) const override;

    // Called with the settings when the board is told to store them; the
    // program keeps them in its state file.
    void setStoreHandler(std::function<void(const TavroSettings &)> handler);

    const MotorAxis &motor(Axis axis) const;
    int position(Axis axis, qint64 nowMs) const { return motor(axis).position(nowMs); }
    int target(Axis axis) const { return motor(axis).target(); }
    // The settings as they are now, stored or not.
    const TavroSettings &settings() const { return m_settings; }

private:
    QByteArray handleStandard(const QByteArray &frame, qint64 nowMs);
    QByteArray handleExtended(const QByteArray &frame, qint64 nowMs);
    MotorAxis &motor(Axis axis);
    int rate(Axis axis) const;
    void run(Axis axis, int target, qint64 nowMs);
    void calibrate(qint64 nowMs);

    TavroSettings m_settings;
    MotorAxis m_zoom{0, zoomMaximum, 3675};
    MotorAxis m_focus{0, focusMaximum, 2000};
    MotorAxis m_iris{0, irisMaximum, 2750};
    qint64 m_calibrationEndMs = std::numeric_limits<qint64>::min();
    std::function<void(const TavroSettings &)> m_storeHandler;
};

#endif // TAVROBOARD_H
