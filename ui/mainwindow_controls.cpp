#include "mainwindow.h"

#include "controller.h"
#include "ui_mainwindow.h"

void MainWindow::motor1SliderChanged()
{
}

void MainWindow::motor1LineEditChanged()
{
}

void MainWindow::motor2SliderChanged()
{
}

void MainWindow::motor2LineEditChanged()
{
}

void MainWindow::motor3SliderChanged()
{
}

void MainWindow::motor3LineEditChanged()
{
}

void MainWindow::zoomWideClicked()
{
}

void MainWindow::zoomTeleClicked()
{
}

void MainWindow::zoomStopClicked()
{
}

void MainWindow::focusNearClicked()
{
}

void MainWindow::focusFarClicked()
{
}

void MainWindow::focusStopClicked()
{
}

void MainWindow::irisCloseClicked()
{
}

void MainWindow::irisOpenClicked()
{
}

void MainWindow::irisStopClicked()
{
}

void MainWindow::refreshClicked()
{
}

void MainWindow::storeInDeviceClicked()
{
}

void MainWindow::calibrateAllClicked()
{
}

void MainWindow::storePreset1Clicked()
{
}

void MainWindow::storePreset2Clicked()
{
}

void MainWindow::storePreset3Clicked()
{
}

void MainWindow::storePreset4Clicked()
{
}

void MainWindow::storePreset5Clicked()
{
}

void MainWindow::storePreset6Clicked()
{
}

void MainWindow::storePreset7Clicked()
{
}

void MainWindow::storePreset8Clicked()
{
}

void MainWindow::storePreset9Clicked()
{
}

void MainWindow::storePreset10Clicked()
{
}

void MainWindow::callPreset1Clicked()
{
}

void MainWindow::callPreset2Clicked()
{
}

void MainWindow::callPreset3Clicked()
{
}

void MainWindow::callPreset4Clicked()
{
}

void MainWindow::callPreset5Clicked()
{
}

void MainWindow::callPreset6Clicked()
{
}

void MainWindow::callPreset7Clicked()
{
}

void MainWindow::callPreset8Clicked()
{
}

void MainWindow::callPreset9Clicked()
{
}

void MainWindow::callPreset10Clicked()
{
}

void MainWindow::zoomPlusClicked()
{
}

void MainWindow::zoomMinusClicked()
{
}

void MainWindow::focusPlusClicked()
{
}

void MainWindow::focusMinusClicked()
{
}

void MainWindow::irisPlusClicked()
{
}

void MainWindow::irisMinusClicked()
{
}

void MainWindow::showPosition(QSlider *slider, QLineEdit *lineEdit, int)
{
}

void MainWindow::readPositionsAndRanges()
{
}
