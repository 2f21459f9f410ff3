// The operating slots: each asks the window's lens actions for what its
// button, slider or field stands for.

#include "mainwindow.h"

#include "lensactions.h"
#include "ui_mainwindow.h"

#include <QPushButton>

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

void MainWindow::connectPresetButtons()
{
    connect(ui->pb_callPreset1, &QPushButton::clicked, this, &MainWindow::callPreset1Clicked);
    connect(ui->pb_callPreset2, &QPushButton::clicked, this, &MainWindow::callPreset2Clicked);
    connect(ui->pb_callPreset3, &QPushButton::clicked, this, &MainWindow::callPreset3Clicked);
    connect(ui->pb_callPreset4, &QPushButton::clicked, this, &MainWindow::callPreset4Clicked);
    connect(ui->pb_callPreset5, &QPushButton::clicked, this, &MainWindow::callPreset5Clicked);
    connect(ui->pb_callPreset6, &QPushButton::clicked, this, &MainWindow::callPreset6Clicked);
    connect(ui->pb_callPreset7, &QPushButton::clicked, this, &MainWindow::callPreset7Clicked);
    connect(ui->pb_callPreset8, &QPushButton::clicked, this, &MainWindow::callPreset8Clicked);
    connect(ui->pb_callPreset9, &QPushButton::clicked, this, &MainWindow::callPreset9Clicked);
    connect(ui->pb_callPreset10, &QPushButton::clicked, this, &MainWindow::callPreset10Clicked);
    connect(ui->pb_storePreset1, &QPushButton::clicked, this, &MainWindow::storePreset1Clicked);
    connect(ui->pb_storePreset2, &QPushButton::clicked, this, &MainWindow::storePreset2Clicked);
    connect(ui->pb_storePreset3, &QPushButton::clicked, this, &MainWindow::storePreset3Clicked);
    connect(ui->pb_storePreset4, &QPushButton::clicked, this, &MainWindow::storePreset4Clicked);
    connect(ui->pb_storePreset5, &QPushButton::clicked, this, &MainWindow::storePreset5Clicked);
    connect(ui->pb_storePreset6, &QPushButton::clicked, this, &MainWindow::storePreset6Clicked);
    connect(ui->pb_storePreset7, &QPushButton::clicked, this, &MainWindow::storePreset7Clicked);
    connect(ui->pb_storePreset8, &QPushButton::clicked, this, &MainWindow::storePreset8Clicked);
    connect(ui->pb_storePreset9, &QPushButton::clicked, this, &MainWindow::storePreset9Clicked);
    connect(ui->pb_storePreset10, &QPushButton::clicked, this, &MainWindow::storePreset10Clicked);

    // Twenty buttons that read "Set" and "Call": a screen reader tells them
    // apart by their preset.
    for (int preset = 1; preset <= LensActions::presetCount; ++preset) {
        auto *set = findChild<QPushButton *>(QStringLiteral("pb_storePreset%1").arg(preset));
        set->setAccessibleName(tr("Set preset %1").arg(preset));
        set->setAccessibleDescription(tr("Stores where the lens is now as preset %1").arg(preset));
        findChild<QPushButton *>(QStringLiteral("pb_callPreset%1").arg(preset))
            ->setAccessibleName(tr("Call preset %1").arg(preset));
    }
}
