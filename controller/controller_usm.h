#ifndef CONTROLLER_USM_H
#define CONTROLLER_USM_H

#include "controller.h"
#include "pellanframes.h"
#include "serialtransaction.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class Lens;
class PortKeeper;
class QSettings;

// Driver of the Pellan focus board: a single focus motor behind Modbus RTU
// frames at 115200 baud. The board knows only relative moves and a status
// query, so the driver keeps the calibrated range in its Lens record and the
// ten presets itself, persisted in the per-user preset store.
//
// Focus positions are raw board steps relative to the calibrated near end,
// divided by 10. The zoom and iris operations do nothing and send nothing; their
// queries answer 0.
class ControllerUSM : public Controller
{
    Q_OBJECT

public:
    explicit ControllerUSM(const QString &portName);
    explicit ControllerUSM(const QSerialPortInfo &portInfo);
    ~ControllerUSM() override;

    void setZoomPosition(int position) override;
    void setFocusPosition(int position) override;
    void setIrisPosition(int position) override;
    void pelco_d_zoom_in() override;
    void pelco_d_zoom_out() override;
    void pelco_d_zoom_stop() override;
    void pelco_d_focus_near() override;
    void pelco_d_focus_far() override;
    void pelco_d_focus_stop() override;
    void pelco_d_iris_open() override;
    void pelco_d_iris_close() override;
    void pelco_d_iris_stop() override;
    void callPreset(char preset) override;
    void storePreset(char preset) override;
    void setFocusSpeed(char speed) override;
    void setZoomSpeed(char speed) override;
    void calibrateAll() override;
    void setLensType(int lensType) override;
    int getLensType() override;
    void initMotor() override;
    int getZoomPosition() override;
    int getFocusPosition() override;
    int getIrisPosition() override;
    void disableStallDetection(bool disable) override;
    void storeInDevice() override;
    int getMaxZoomPosition() override;
    int getMaxFocusPosition() override;
    int getMaxIrisPosition() override;
    void setSensitivityMode(char sensitivityMode) override;
    int getSensitivityMode() override;
    // The preset's move carries the level's speed; later moves keep the
    // speed setFocusSpeed() chose.
    void callPresetAtSpeed(char preset, char speed) override;

    // How long every Pellan exchange waits for the frame to leave and for the
    // reply; the extra wait is unused (one wait decides). Default {5000, 5000, 0}.
    static LinkTimeouts timeouts();
    static void setTimeouts(const LinkTimeouts &timeouts);

private:
    // A command frame; true when the board echoed the sealed frame exactly.
    bool transmitData(QByteArray data) override;
    // A query frame; true when at least nofBytes arrived with the first wait,
    // and then *response holds exactly the first nofBytes.
    bool transmitAndRecieve(QByteArray data, QByteArray *response, int nofBytes) override;

    void calcModbusCRC(QByteArray &data);

    // The raw position, with the running flag through rotating, or nothing when
    // the board gave no status (rotating is then left alone). A raw position of
    // -1 is a real place on the lens, so failure is not folded into it.
    std::optional<int> getRawFocusPosition(int *rotating);
    // One status query; failureLine is logged when no whole status reply came.
    std::optional<PellanFrames::Status> queryStatus(const char *failureLine);
    std::optional<int> readFocusPosition();
    // Refreshes the current raw position before a relative move, stopping a
    // running motor once first. False when the position is unknown, in which
    // case no move may be sent: its travel would be computed from nothing.
    bool checkBeforeMove(bool logMotorStatus);
    void moveTo(qint64 targetRaw, uint32_t speed);
    // Moves to a focus position at speed, once the position before is known.
    void moveFocusTo(int position, uint32_t speed);

    std::unique_ptr<PortKeeper> m_port;
    int m_lensType = 0;
    std::unique_ptr<Lens> m_lens;
    // Medium until the operator's choice arrives, so a move never goes out
    // without a speed.
    uint32_t m_focusSpeed = 81;
    std::unique_ptr<QSettings> m_usmSettings;
    std::array<int, 10> m_presets{};
};

#endif // CONTROLLER_USM_H
