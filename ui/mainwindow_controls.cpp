#include "mainwindow.h"

#include "controller.h"
#include "controller_tavro.h"
#include "operation.h"
#include "operationmonitor.h"
#include "pause.h"
#include "ui_mainwindow.h"

#include <QDebug>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

#include <optional>

namespace {

// One iris slider unit is this many driver units.
constexpr int IrisUnitsPerStep = 55;

// The iris range the window offers, whatever the board reports.
constexpr int IrisSliderMaximum = 100;

// The board needs this long to take a position before the next command.
constexpr unsigned long SettleAfterMoveMs = 500;


using SendPosition = void (Controller::*)(int position);

// Slider released: the line edit follows the slider, then the position goes out
// and the board gets time to reach it. The line edit's signals stay quiet while
// its text is set by the program.
void sendSliderPosition(Controller &comm, QSlider *slider, QLineEdit *lineEdit, SendPosition send,
                        int unitsPerStep)
{
    {
        const QSignalBlocker blocker(lineEdit);
        lineEdit->setText(QString::number(slider->value()));
    }
    (comm.*send)(slider->value() * unitsPerStep);
    Pause::wait(SettleAfterMoveMs);
}

// A typed position: negative numbers count as 0 and the slider clamps what is
// too large. Text that is not a number (or too large for one) sends nothing:
// the line edit goes back to the slider's position. Returns the slider
// position that is to be sent.
std::optional<int> takeTypedPosition(QSlider *slider, QLineEdit *lineEdit)
{
    QSignalBlocker blocker(slider);
    bool ok = false;
    int position = lineEdit->text().toInt(&ok, 10);
    if (!ok) {
        qDebug() << "wrong input";
        lineEdit->setText(QString::number(slider->value()));
        return std::nullopt;
    }
    slider->setFocus();
    lineEdit->setText(QString::number(position));
    if (position < 0) {
        position = 0;
        lineEdit->setText(QStringLiteral("0"));
    }
    slider->setValue(position);
    blocker.unblock();
    return slider->value();
}

// A step is a hundredth of the range, the same size in both directions; the
// slider clamps at the ends.
void stepSlider(QSlider *slider, int direction)
{
    const int step = slider->maximum() / 100;
    slider->setValue(slider->value() + direction * step);
}

} // namespace

void MainWindow::motor1SliderChanged()
{
    const Operation operation(*m_operations, tr("Moving the zoom…"));
    if (!operation || !m_comm)
        return;
    qDebug() << "motor1SliderChanged()";
    sendSliderPosition(*m_comm, ui->hs_motor1, ui->le_motor1, &Controller::setZoomPosition, 1);
}

void MainWindow::motor1LineEditChanged()
{
    const Operation operation(*m_operations, tr("Moving the zoom…"));
    if (!operation || !m_comm)
        return;
    qDebug() << "motor1LineEditChanged()";
    const std::optional<int> position = takeTypedPosition(ui->hs_motor1, ui->le_motor1);
    if (!position)
        return;
    qDebug() << "all digits";
    m_comm->setZoomPosition(*position);
}

void MainWindow::motor2SliderChanged()
{
    const Operation operation(*m_operations, tr("Moving the focus…"));
    if (!operation || !m_comm)
        return;
    qDebug() << "motor2SliderChanged()";
    sendSliderPosition(*m_comm, ui->hs_motor2, ui->le_motor2, &Controller::setFocusPosition, 1);
}

void MainWindow::motor2LineEditChanged()
{
    const Operation operation(*m_operations, tr("Moving the focus…"));
    if (!operation || !m_comm)
        return;
    qDebug() << "motor2LineEditChanged()";
    if (const std::optional<int> position = takeTypedPosition(ui->hs_motor2, ui->le_motor2))
        m_comm->setFocusPosition(*position);
}

void MainWindow::motor3SliderChanged()
{
    const Operation operation(*m_operations, tr("Moving the iris…"));
    if (!operation || !m_comm)
        return;
    sendSliderPosition(*m_comm, ui->hs_motor3, ui->le_motor3, &Controller::setIrisPosition,
                       IrisUnitsPerStep);
}

void MainWindow::motor3LineEditChanged()
{
    const Operation operation(*m_operations, tr("Moving the iris…"));
    if (!operation || !m_comm)
        return;
    if (const std::optional<int> position = takeTypedPosition(ui->hs_motor3, ui->le_motor3))
        m_comm->setIrisPosition(*position * IrisUnitsPerStep);
}

void MainWindow::zoomWideClicked()
{
    const Operation operation(*m_operations, tr("Moving the zoom…"));
    if (!operation || !m_comm)
        return;
    ui->hs_motor1->setFocus();
    m_comm->pelco_d_zoom_out();
}

void MainWindow::zoomTeleClicked()
{
    const Operation operation(*m_operations, tr("Moving the zoom…"));
    if (!operation || !m_comm)
        return;
    ui->hs_motor1->setFocus();
    m_comm->pelco_d_zoom_in();
}

void MainWindow::zoomStopClicked()
{
    const Operation operation(*m_operations, tr("Stopping the zoom…"));
    if (!operation || !m_comm)
        return;
    m_comm->pelco_d_zoom_stop();
    const int position = m_comm->getZoomPosition();
    if (position >= 0)
        showPosition(ui->hs_motor1, ui->le_motor1, position);
    ui->hs_motor1->setFocus();
}

void MainWindow::focusNearClicked()
{
    const Operation operation(*m_operations, tr("Moving the focus…"));
    if (!operation || !m_comm)
        return;
    ui->hs_motor2->setFocus();
    m_comm->pelco_d_focus_near();
}

void MainWindow::focusFarClicked()
{
    const Operation operation(*m_operations, tr("Moving the focus…"));
    if (!operation || !m_comm)
        return;
    ui->hs_motor2->setFocus();
    m_comm->pelco_d_focus_far();
}

void MainWindow::focusStopClicked()
{
    const Operation operation(*m_operations, tr("Stopping the focus…"));
    if (!operation || !m_comm)
        return;
    m_comm->pelco_d_focus_stop();
    const int position = m_comm->getFocusPosition();
    showPosition(ui->hs_motor2, ui->le_motor2, position < 0 ? 0 : position);
    ui->hs_motor2->setFocus();
}

void MainWindow::irisCloseClicked()
{
    const Operation operation(*m_operations, tr("Moving the iris…"));
    if (!operation || !m_comm)
        return;
    ui->hs_motor3->setFocus();
    m_comm->pelco_d_iris_close();
}

void MainWindow::irisOpenClicked()
{
    const Operation operation(*m_operations, tr("Moving the iris…"));
    if (!operation || !m_comm)
        return;
    ui->hs_motor3->setFocus();
    m_comm->pelco_d_iris_open();
}

void MainWindow::irisStopClicked()
{
    const Operation operation(*m_operations, tr("Stopping the iris…"));
    if (!operation || !m_comm)
        return;
    m_comm->pelco_d_iris_stop();
    showIrisPosition(m_comm->getIrisPosition());
    ui->hs_motor3->setFocus();
}

void MainWindow::refreshClicked()
{
    const Operation operation(*m_operations, tr("Reading the positions…"));
    if (!operation || !m_comm)
        return;
    const int focus = m_comm->getFocusPosition();
    if (focus >= 0)
        showPosition(ui->hs_motor2, ui->le_motor2, focus);
    const int zoom = m_comm->getZoomPosition();
    if (zoom >= 0)
        showPosition(ui->hs_motor1, ui->le_motor1, zoom);
    showIrisPosition(m_comm->getIrisPosition());
}

void MainWindow::storeInDeviceClicked()
{
    const Operation operation(*m_operations, tr("Storing in the board…"));
    if (operation && m_comm)
        m_comm->storeInDevice();
}

void MainWindow::calibrateAllClicked()
{
    Operation operation(*m_operations, tr("Calibrating…"));
    if (!operation)
        return;
    if (!m_comm) {
        qDebug() << "comm not set";
        return;
    }
    m_comm->calibrateAll();
    // Whichever the board, the window gives it the Tavro board's calibration
    // time before it reads the new positions.
    Pause::wait(ControllerTavro::calibrationMs);
    operation.setStep(tr("Reading the positions…"));
    readPositionsAndRanges();
}

// The preset number travels as the number itself (1..10), not as a digit.

void MainWindow::storePreset(int preset)
{
    const Operation operation(*m_operations, tr("Storing preset %1…").arg(preset));
    if (operation && m_comm)
        m_comm->storePreset(char(preset));
}

void MainWindow::callPreset(int preset)
{
    const Operation operation(*m_operations, tr("Calling preset %1…").arg(preset));
    if (operation && m_comm)
        m_comm->callPreset(char(preset));
}

void MainWindow::storePreset1Clicked()
{
    storePreset(1);
}

void MainWindow::storePreset2Clicked()
{
    storePreset(2);
}

void MainWindow::storePreset3Clicked()
{
    storePreset(3);
}

void MainWindow::storePreset4Clicked()
{
    storePreset(4);
}

void MainWindow::storePreset5Clicked()
{
    storePreset(5);
}

void MainWindow::storePreset6Clicked()
{
    storePreset(6);
}

void MainWindow::storePreset7Clicked()
{
    storePreset(7);
}

void MainWindow::storePreset8Clicked()
{
    storePreset(8);
}

void MainWindow::storePreset9Clicked()
{
    storePreset(9);
}

void MainWindow::storePreset10Clicked()
{
    storePreset(10);
}

void MainWindow::callPreset1Clicked()
{
    callPreset(1);
}

void MainWindow::callPreset2Clicked()
{
    callPreset(2);
}

void MainWindow::callPreset3Clicked()
{
    callPreset(3);
}

void MainWindow::callPreset4Clicked()
{
    callPreset(4);
}

void MainWindow::callPreset5Clicked()
{
    callPreset(5);
}

void MainWindow::callPreset6Clicked()
{
    callPreset(6);
}

void MainWindow::callPreset7Clicked()
{
    callPreset(7);
}

void MainWindow::callPreset8Clicked()
{
    callPreset(8);
}

void MainWindow::callPreset9Clicked()
{
    callPreset(9);
}

void MainWindow::callPreset10Clicked()
{
    callPreset(10);
}

// The step buttons move the slider and then behave exactly like a release of
// its handle, log line and pause included.

void MainWindow::stepMotor(QSlider *slider, int direction, void (MainWindow::*release)())
{
    // The release runs the operation; the slider stays where it is when it
    // could not.
    if (!m_comm || m_operations->isRunning())
        return;
    stepSlider(slider, direction);
    (this->*release)();
}

void MainWindow::zoomPlusClicked()
{
    stepMotor(ui->hs_motor1, +1, &MainWindow::motor1SliderChanged);
}

void MainWindow::zoomMinusClicked()
{
    stepMotor(ui->hs_motor1, -1, &MainWindow::motor1SliderChanged);
}

void MainWindow::focusPlusClicked()
{
    stepMotor(ui->hs_motor2, +1, &MainWindow::motor2SliderChanged);
}

void MainWindow::focusMinusClicked()
{
    stepMotor(ui->hs_motor2, -1, &MainWindow::motor2SliderChanged);
}

void MainWindow::irisPlusClicked()
{
    stepMotor(ui->hs_motor3, +1, &MainWindow::motor3SliderChanged);
}

void MainWindow::irisMinusClicked()
{
    stepMotor(ui->hs_motor3, -1, &MainWindow::motor3SliderChanged);
}

void MainWindow::showPosition(QSlider *slider, QLineEdit *lineEdit, int position)
{
    // The line edit keeps the number as read; only the slider is held to its range.
    lineEdit->setText(QString::number(position));
    slider->setValue(lineEdit->text().toInt());
}

void MainWindow::readPositionsAndRanges()
{
    if (!m_comm)
        return;
    const int zoom = m_comm->getZoomPosition();
    const int focus = m_comm->getFocusPosition();
    const int iris = m_comm->getIrisPosition();
    const int maxZoom = m_comm->getMaxZoomPosition();
    const int maxFocus = m_comm->getMaxFocusPosition();

    // A failed maximum read keeps the range and display the motor had.
    if (maxZoom >= 0) {
        ui->hs_motor1->setMaximum(maxZoom);
        showPosition(ui->hs_motor1, ui->le_motor1, zoom);
    }
    if (maxFocus >= 0) {
        ui->hs_motor2->setMaximum(maxFocus);
        showPosition(ui->hs_motor2, ui->le_motor2, focus);
    }
    ui->hs_motor3->setMaximum(IrisSliderMaximum);
    showIrisPosition(iris);
}

void MainWindow::showIrisPosition(int driverUnits)
{
    // Tested before dividing: a failed read (-1) would otherwise show as 0.
    if (driverUnits >= 0)
        showPosition(ui->hs_motor3, ui->le_motor3, driverUnits / IrisUnitsPerStep);
}
