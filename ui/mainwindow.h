#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class Controller;
class GamepadControl;
class HelpMenu;
class KeyboardControl;
class LensActions;
class LivePositions;
class OperationMonitor;
class PresetSpeedMenu;
class QSettings;
class SliderInput;
class TrafficWindow;

namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Equal to the entries of the controller combo box and to the value stored
    // as controller/lastSelected.
    enum ControllerType {
        NO_CONTROLLER_SELECTED = 0,
        TAVRO_CONTROLLER = 1,
        USM_CONTROLLER = 2,
    };

    // Makes the driver for a board type on a port; nothing for no board type.
    using ControllerFactory =
        std::function<std::unique_ptr<Controller>(ControllerType type, const QString &portName)>;

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Replaces how drivers are made (tests hand in fakes); an empty factory
    // restores the real drivers.
    void setControllerFactory(ControllerFactory factory);

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
    bool checkController();
    bool testSerialClicked();
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
    void InitUIForController();
    std::unique_ptr<Controller> createController(ControllerType type, const QString &portName) const;
    // Asks the board on the chosen port for its lens type (into m_lensType) and
    // hands back the probe driver; reports and gives nothing when there is no
    // port, no board type or no answer.
    std::unique_ptr<Controller> probeBoard();
    // Asks the port once with the other board type, after the chosen one found
    // no board: the operator's hint when that board answers, else nothing.
    QString otherBoardHint(const QString &portName) const;
    // A new driver in service (or none) for the chosen port.
    void replaceDriver();

    std::unique_ptr<Controller> m_comm;
    std::unique_ptr<Ui::MainWindow> ui;
    std::unique_ptr<QSettings> m_settings;
    ControllerType m_controllerType = NO_CONTROLLER_SELECTED;
    QString m_selectedSerialPort;
    int m_lensType = 0;
    bool m_settingsState = true;
    ControllerFactory m_controllerFactory;
    // Every slot that speaks to the board runs as one of its operations.
    std::unique_ptr<OperationMonitor> m_operations;
    // What the operating slots (mainwindow_controls.cpp) and the input
    // sources ask for; gone before the driver and the monitor.
    std::unique_ptr<LensActions> m_actions;
    std::unique_ptr<PresetSpeedMenu> m_presetSpeeds;
    std::unique_ptr<LivePositions> m_livePositions;
    std::unique_ptr<KeyboardControl> m_keyboard;
    std::array<std::unique_ptr<SliderInput>, 3> m_sliderInputs;
#ifdef TAVRO_GAMEPAD
    std::unique_ptr<GamepadControl> m_gamepad;
#endif
    std::unique_ptr<HelpMenu> m_help;
    // Made when first opened from View ▸ Traffic…; a window of its own, owned
    // as a child.
    TrafficWindow *m_traffic = nullptr;
};

#endif // MAINWINDOW_H
