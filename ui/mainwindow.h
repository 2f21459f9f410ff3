#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "boardtype.h"

#include "boardcommissioning.h"
#include "controlhelp.h"
#include "lenssession.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class BoardTask;
class FocusTracking;
class HelpMenu;
class LensActions;
class LensProfileDialog;
class LensProfileInUse;
class LivePositions;
class OperationMonitor;
class PadCapture;
class PadLayoutMenu;
class PresetSpeedMenu;
class QSettings;
class SpeedMeasurementDialog;
class SpeedMeasurementTask;
class TrafficWindow;

namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    using ControllerFactory = BoardCommissioning::ControllerFactory;

    // help tells the Help menu of the input sources that drive the window.
    explicit MainWindow(const ControlHelp &help = {}, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Replaces how drivers are made (tests hand in fakes, and may keep them
    // on the window's thread); an empty factory restores the real drivers.
    void setControllerFactory(ControllerFactory factory,
                              LensSession::Threading threading = LensSession::Threading::OwnThread);
    // Nothing waiting for the board or under way, and no operation running.
    bool isIdle() const;

protected:
    // What the input sources drive.
    LensActions &actions() const { return *m_actions; }
    OperationMonitor &operations() const { return *m_operations; }
    const QSettings &settings() const { return *m_settings; }
    // The pad View ▸ Gamepad… lays out; without one the entry is hidden.
    void setPad(PadCapture *pad);

public slots:
    void setSerialPort(const QString &portName, int lensType);
    void lensSelectionChanged(int index);
    void motor1SliderChanged();
    void motor1LineEditChanged();
    void motor2SliderChanged();
    void motor2LineEditChanged();
    void motor3SliderChanged();
    void motor3LineEditChanged();
    void zoomWideClicked();
    void zoomTeleClicked();
    void zoomStopClicked();
    void focusNearClicked();
    void focusFarClicked();
    void focusStopClicked();
    void irisCloseClicked();
    void irisOpenClicked();
    void irisStopClicked();
    void refreshClicked();
    void storeInDeviceClicked();
    void settingsMultiClicked();
    void cancelSettingsClicked();
    void testSerialClicked();
    void websiteClicked(const QString &link);
    void calibrateAllClicked();
    void storePreset1Clicked();
    void storePreset2Clicked();
    void storePreset3Clicked();
    void storePreset4Clicked();
    void storePreset5Clicked();
    void storePreset6Clicked();
    void storePreset7Clicked();
    void storePreset8Clicked();
    void storePreset9Clicked();
    void storePreset10Clicked();
    void callPreset1Clicked();
    void callPreset2Clicked();
    void callPreset3Clicked();
    void callPreset4Clicked();
    void callPreset5Clicked();
    void callPreset6Clicked();
    void callPreset7Clicked();
    void callPreset8Clicked();
    void callPreset9Clicked();
    void callPreset10Clicked();
    void zoomPlusClicked();
    void zoomMinusClicked();
    void focusPlusClicked();
    void focusMinusClicked();
    void irisPlusClicked();
    void irisMinusClicked();
    void initSettings();

private:
    // Start-up and the settings panel (mainwindow.cpp).
    void toggleSettings();
    void initTavroController();
    void initUSMController();
    // Reads the positions and ranges, then enables the lens controls and
    // runs then.
    void InitUIForController(const std::function<void()> &then);
    void enableLensControls();
    // Asks the board on the chosen port for its lens type (into m_lensType),
    // and with readSensitivity its sensitivity mode, on a thread of its own;
    // then hears the port the board answered on. Reports, and ends the
    // operation, when there is no port, no board type or no answer.
    void probeBoard(bool readSensitivity, const std::function<void(const QString &port, int sensitivity)> &then);
    // Save, once the board has answered on port.
    void saveProbed(const QString &port);
    // A new session in service (or none) for the chosen port, then ready.
    void replaceSession(const std::function<void()> &ready);
    // The ten Set and ten Call buttons, each named by its preset (mainwindow_controls.cpp).
    void connectPresetButtons();
    // The lens's units beside the fields, Lens ▸ Profile… and Lens ▸ Keep
    // focus while zooming (mainwindow_lens.cpp).
    void setUpLensUnits();
    void openProfileDialog();
    // Lens ▸ Measure speeds…: into the profile in use, which the window then
    // uses with its new speeds; a box says what is missing without a board
    // in service or a profile in use.
    void measureSpeeds();

    std::unique_ptr<Ui::MainWindow> ui;
    std::unique_ptr<QSettings> m_settings;
    BoardType m_controllerType = BoardType::None;
    QString m_selectedSerialPort;
    int m_lensType = 0;
    bool m_settingsState = true;
    BoardCommissioning m_commissioning;
    LensSession::Threading m_threading = LensSession::Threading::OwnThread;
    // Every slot that speaks to the board runs as one of its operations.
    std::unique_ptr<OperationMonitor> m_operations;
    // What the operating slots (mainwindow_controls.cpp) and the input
    // sources ask for; gone before the driver and the monitor.
    std::unique_ptr<LensActions> m_actions;
    // The look for a board before Save and at Test; gone first, once its
    // drivers are done.
    std::unique_ptr<BoardTask> m_boardLook;
    std::unique_ptr<PresetSpeedMenu> m_presetSpeeds;
    std::unique_ptr<LivePositions> m_livePositions;
    std::unique_ptr<HelpMenu> m_help;
    // The profile the lens's units come from, per board type.
    std::unique_ptr<LensProfileInUse> m_profileInUse;
    std::unique_ptr<FocusTracking> m_focusTracking;
    // Gone before the session, which it calls off a measurement on.
    std::unique_ptr<SpeedMeasurementTask> m_speedMeasurement;
    // Made with the first measurement; a child of the window.
    SpeedMeasurementDialog *m_speedDialog = nullptr;
    // Made when first opened from Lens ▸ Profile…; a child of the window.
    LensProfileDialog *m_profileDialog = nullptr;
    // A child of the window.
    PadLayoutMenu *m_padLayout = nullptr;
    // Made when first opened from View ▸ Traffic…; a window of its own, owned
    // as a child.
    TrafficWindow *m_traffic = nullptr;
};

#endif // MAINWINDOW_H
