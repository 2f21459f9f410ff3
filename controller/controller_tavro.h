#ifndef CONTROLLER_TAVRO_H
#define CONTROLLER_TAVRO_H

#include "controller.h"
#include "serialtransaction.h"
#include "tavroframes.h"

#include <memory>

class PortKeeper;

// The driver of the Tavro board (zoom, focus and iris motors) at 19200 baud:
// Pelco-D frames for runs, stops, presets and speeds, the board's extended
// frames for everything else. Each operation is one frame in one transaction;
// nothing is cached, so the driver holds nothing but its port (kept open
// between its exchanges while nobody else waits for it).
class ControllerTavro : public Controller
{
public:
    explicit ControllerTavro(const QString &portName);
    explicit ControllerTavro(const QSerialPortInfo &portInfo);
    ~ControllerTavro() override;

    // After acknowledging calibrateAll() the board calibrates on its own; its
    // positions and ranges are valid only once this long has passed.
    static constexpr unsigned long calibrationMs = 8000;

    // How long every transaction waits; {5000, 3000, 1000} ms unless changed.
    static LinkTimeouts timeouts();
    static void setTimeouts(const LinkTimeouts &timeouts);

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
    // Zoom and focus speed frames, then the call; a speed the board did not
    // take leaves the preset uncalled rather than moving at another speed.
    void callPresetAtSpeed(char preset, char speed) override;

private:
    bool transmitData(QByteArray data) override;
    bool transmitAndRecieve(QByteArray data, QByteArray *response, int nofBytes) override;

    void sendPosition(TavroFrames::ExtendedCode code, int position);
    // One four-byte query; -1 with the matching debug line on any failure.
    int queryValue(TavroFrames::ExtendedCode code, const char *transactionFailedLine, const char *lengthFailedLine,
                   const char *successLabel);

    std::unique_ptr<PortKeeper> m_port;
};

#endif // CONTROLLER_TAVRO_H
