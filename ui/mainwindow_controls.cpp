#include "mainwindow.h"

#include "controller.h"
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

// The Tavro board calibrates on its own after acknowledging the command; the
// positions are only meaningful once it is done.
constexpr unsigned long CalibrationMs = 8000;

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
    if (!m_comm)
        return;
    qDebug() << "motor1SliderChanged()";
    sendSliderPosition(*m_comm, ui->hs_motor1, ui->le_motor1, &Controller::setZoomPosition, 1);
}

void MainWindow::motor1LineEditChanged()
{
    if (!m_comm)
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
    if (!m_comm)
        return;
    qDebug() << "motor2SliderChanged()";
    sendSliderPosition(*m_comm, ui->hs_motor2, ui->le_motor2, &Controller::setFocusPosition, 1);
}

void MainWindow::motor2LineEditChanged()
{
    if (!m_comm)
        return;
    qDebug() << "motor2LineEditChanged()";
    if (const std::optional<int> position = takeTypedPosition(ui->hs_motor2, ui->le_motor2))
        m_comm->setFocusPosition(*position);
}

void MainWindow::motor3SliderChanged()
{
    if (!m_comm)
        return;
    sendSliderPosition(*m_comm, ui->hs_motor3, ui->le_motor3, &Controller::setIrisPosition,
                       IrisUnitsPerStep);
}

void MainWindow::motor3LineEditChanged()
{
    if (!m_comm)
        return;
    if (const std::optional<int> position = takeTypedPosition(ui->hs_motor3, ui->le_motor3))
        m_comm->setIrisPosition(*position * IrisUnitsPerStep);
}

void MainWindow::zoomWideClicked()
{
    if (!m_comm)
        return;
    ui->hs_motor1->setFocus();
    m_comm->pelco_d_zoom_out();
}

void MainWindow::zoomTeleClicked()
{
    if (!m_comm)
        return;
    ui->hs_motor1->setFocus();
    m_comm->pelco_d_zoom_in();
}

void MainWindow::zoomStopClicked()
{
    if (!m_comm)
        return;
    m_comm->pelco_d_zoom_stop();
    const int position = m_comm->getZoomPosition();
    if (position >= 0)
        showPosition(ui->hs_motor1, ui->le_motor1, position);
    ui->hs_motor1->setFocus();
}

void MainWindow::focusNearClicked()
{
    if (!m_comm)
        return;
    ui->hs_motor2->setFocus();
    m_comm->pelco_d_focus_near();
}

void MainWindow::focusFarClicked()
{
    if (!m_comm)
        return;
    ui->hs_motor2->setFocus();
    m_comm->pelco_d_focus_far();
}

void MainWindow::focusStopClicked()
{
    if (!m_comm)
        return;
    m_comm->pelco_d_focus_stop();
    const int position = m_comm->getFocusPosition();
    showPosition(ui->hs_motor2, ui->le_motor2, position < 0 ? 0 : position);
    ui->hs_motor2->setFocus();
}

void MainWindow::irisCloseClicked()
{
    if (!m_comm)
        return;
    ui->hs_motor3->setFocus();
    m_comm->pelco_d_iris_close();
}

void MainWindow::irisOpenClicked()
{
    if (!m_comm)
        return;
    ui->hs_motor3->setFocus();
    m_comm->pelco_d_iris_open();
}

void MainWindow::irisStopClicked()
{
    if (!m_comm)
        return;
    m_comm->pelco_d_iris_stop();
    showIrisPosition(m_comm->getIrisPosition());
    ui->hs_motor3->setFocus();
}

void MainWindow::refreshClicked()
{
    if (!m_comm)
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
    if (m_comm)
        m_comm->storeInDevice();
}

void MainWindow::calibrateAllClicked()
{
    if (!m_comm) {
        qDebug() << "comm not set";
        return;
    }
    m_comm->calibrateAll();
    Pause::wait(CalibrationMs);
    readPositionsAndRanges();
}

// The preset number travels as the number itself (1..10), not as a digit.

void MainWindow::storePreset1Clicked()
{
    if (m_comm)
        m_comm->storePreset(char(1));
}

void MainWindow::storePreset2Clicked()
{
    if (m_comm)
        m_comm->storePreset(char(2));
}

void MainWindow::storePreset3Clicked()
{
    if (m_comm)
        m_comm->storePreset(char(3));
}

void MainWindow::storePreset4Clicked()
{
    if (m_comm)
        m_comm->storePreset(char(4));
}

void MainWindow::storePreset5Clicked()
{
    if (m_comm)
        m_comm->storePreset(char(5));
}

void MainWindow::storePreset6Clicked()
{
    if (m_comm)
        m_comm->storePreset(char(6));
}

void MainWindow::storePreset7Clicked()
{
    if (m_comm)
        m_comm->storePreset(char(7));
}

void MainWindow::storePreset8Clicked()
{
    if (m_comm)
        m_comm->storePreset(char(8));
}

void MainWindow::storePreset9Clicked()
{
    if (m_comm)
        m_comm->storePreset(char(9));
}

void MainWindow::storePreset10Clicked()
{
    if (m_comm)
        m_comm->storePreset(char(10));
}

void MainWindow::callPreset1Clicked()
{
    if (m_comm)
        m_comm->callPreset(char(1));
}

void MainWindow::callPreset2Clicked()
{
    if (m_comm)
        m_comm->callPreset(char(2));
}

void MainWindow::callPreset3Clicked()
{
    if (m_comm)
        m_comm->callPreset(char(3));
}

void MainWindow::callPreset4Clicked()
{
    if (m_comm)
        m_comm->callPreset(char(4));
}

void MainWindow::callPreset5Clicked()
{
    if (m_comm)
        m_comm->callPreset(char(5));
}

void MainWindow::callPreset6Clicked()
{
    if (m_comm)
        m_comm->callPreset(char(6));
}

void MainWindow::callPreset7Clicked()
{
    if (m_comm)
        m_comm->callPreset(char(7));
}

void MainWindow::callPreset8Clicked()
{
    if (m_comm)
        m_comm->callPreset(char(8));
}

void MainWindow::callPreset9Clicked()
{
    if (m_comm)
        m_comm->callPreset(char(9));
}

void MainWindow::callPreset10Clicked()
{
    if (m_comm)
        m_comm->callPreset(char(10));
}

// The step buttons move the slider and then behave exactly like a release of
// its handle, log line and pause included.

void MainWindow::zoomPlusClicked()
{
    if (!m_comm)
        return;
    stepSlider(ui->hs_motor1, +1);
    motor1SliderChanged();
}

void MainWindow::zoomMinusClicked()
{
    if (!m_comm)
        return;
    stepSlider(ui->hs_motor1, -1);
    motor1SliderChanged();
}

void MainWindow::focusPlusClicked()
{
    if (!m_comm)
        return;
    stepSlider(ui->hs_motor2, +1);
    motor2SliderChanged();
}

void MainWindow::focusMinusClicked()
{
    if (!m_comm)
        return;
    stepSlider(ui->hs_motor2, -1);
    motor2SliderChanged();
}

void MainWindow::irisPlusClicked()
{
    if (!m_comm)
        return;
    stepSlider(ui->hs_motor3, +1);
    motor3SliderChanged();
}

void MainWindow::irisMinusClicked()
{
    if (!m_comm)
        return;
    stepSlider(ui->hs_motor3, -1);
    motor3SliderChanged();
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
