#include "mainwindow.h"

#include "controller.h"
#include "ui_mainwindow.h"

#include <QSettings>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
{
    ui->setupUi(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::setControllerFactory(ControllerFactory factory)
{
    m_controllerFactory = std::move(factory);
}

std::unique_ptr<Controller> MainWindow::createController(ControllerType, const QString &) const
{
    return nullptr;
}


void MainWindow::setSerialPort(const QString &portName, int)
{
}

void MainWindow::lensSelectionChanged(int)
{
}

void MainWindow::settingsMultiClicked()
{
}

void MainWindow::cancelSettingsClicked()
{
}

bool MainWindow::checkController()
{
    return false;
}

bool MainWindow::testSerialClicked()
{
    return false;
}

void MainWindow::websiteClicked(const QString &link)
{
}

void MainWindow::initSettings()
{
}

void MainWindow::toggleSettings()
{
}

void MainWindow::initTavroController()
{
}

void MainWindow::initUSMController()
{
}

void MainWindow::InitUIForController()
{
}
