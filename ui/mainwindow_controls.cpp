// The operating slots: each asks the window's lens actions for what its
// button, slider or field stands for.

#include "mainwindow.h"

#include "lensactions.h"

using Motor = LensActions::Motor;
using Direction = LensActions::Direction;

void MainWindow::motor1SliderChanged()
{
    m_actions->sendSlider(Motor::Zoom);
}

void MainWindow::motor1LineEditChanged()
{
    m_actions->sendTyped(Motor::Zoom);
}

void MainWindow::motor2SliderChanged()
{
    m_actions->sendSlider(Motor::Focus);
}

void MainWindow::motor2LineEditChanged()
{
    m_actions->sendTyped(Motor::Focus);
}

void MainWindow::motor3SliderChanged()
{
    m_actions->sendSlider(Motor::Iris);
}

void MainWindow::motor3LineEditChanged()
{
    m_actions->sendTyped(Motor::Iris);
}

void MainWindow::zoomWideClicked()
{
    m_actions->run(Motor::Zoom, Direction::TowardsZero);
}

void MainWindow::zoomTeleClicked()
{
    m_actions->run(Motor::Zoom, Direction::TowardsMaximum);
}

void MainWindow::zoomStopClicked()
{
    m_actions->stop(Motor::Zoom);
}

void MainWindow::focusNearClicked()
{
    m_actions->run(Motor::Focus, Direction::TowardsZero);
}

void MainWindow::focusFarClicked()
{
    m_actions->run(Motor::Focus, Direction::TowardsMaximum);
}

void MainWindow::focusStopClicked()
{
    m_actions->stop(Motor::Focus);
}

void MainWindow::irisCloseClicked()
{
    m_actions->run(Motor::Iris, Direction::TowardsZero);
}

void MainWindow::irisOpenClicked()
{
    m_actions->run(Motor::Iris, Direction::TowardsMaximum);
}

void MainWindow::irisStopClicked()
{
    m_actions->stop(Motor::Iris);
}

void MainWindow::refreshClicked()
{
    m_actions->refresh();
}

void MainWindow::storeInDeviceClicked()
{
    m_actions->storeInDevice();
}

void MainWindow::calibrateAllClicked()
{
    m_actions->calibrateAll();
}

void MainWindow::storePreset1Clicked()
{
    m_actions->storePreset(1);
}

void MainWindow::storePreset2Clicked()
{
    m_actions->storePreset(2);
}

void MainWindow::storePreset3Clicked()
{
    m_actions->storePreset(3);
}

void MainWindow::storePreset4Clicked()
{
    m_actions->storePreset(4);
}

void MainWindow::storePreset5Clicked()
{
    m_actions->storePreset(5);
}

void MainWindow::storePreset6Clicked()
{
    m_actions->storePreset(6);
}

void MainWindow::storePreset7Clicked()
{
    m_actions->storePreset(7);
}

void MainWindow::storePreset8Clicked()
{
    m_actions->storePreset(8);
}

void MainWindow::storePreset9Clicked()
{
    m_actions->storePreset(9);
}

void MainWindow::storePreset10Clicked()
{
    m_actions->storePreset(10);
}

void MainWindow::callPreset1Clicked()
{
    m_actions->callPreset(1);
}

void MainWindow::callPreset2Clicked()
{
    m_actions->callPreset(2);
}

void MainWindow::callPreset3Clicked()
{
    m_actions->callPreset(3);
}

void MainWindow::callPreset4Clicked()
{
    m_actions->callPreset(4);
}

void MainWindow::callPreset5Clicked()
{
    m_actions->callPreset(5);
}

void MainWindow::callPreset6Clicked()
{
    m_actions->callPreset(6);
}

void MainWindow::callPreset7Clicked()
{
    m_actions->callPreset(7);
}

void MainWindow::callPreset8Clicked()
{
    m_actions->callPreset(8);
}

void MainWindow::callPreset9Clicked()
{
    m_actions->callPreset(9);
}

void MainWindow::callPreset10Clicked()
{
    m_actions->callPreset(10);
}

void MainWindow::zoomPlusClicked()
{
    m_actions->step(Motor::Zoom, +1);
}

void MainWindow::zoomMinusClicked()
{
    m_actions->step(Motor::Zoom, -1);
}

void MainWindow::focusPlusClicked()
{
    m_actions->step(Motor::Focus, +1);
}

void MainWindow::focusMinusClicked()
{
    m_actions->step(Motor::Focus, -1);
}

void MainWindow::irisPlusClicked()
{
    m_actions->step(Motor::Iris, +1);
}

void MainWindow::irisMinusClicked()
{
    m_actions->step(Motor::Iris, -1);
}
