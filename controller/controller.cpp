#include "controller.h"

#include <QSerialPortInfo>

Controller::Controller(const QString &portName)
    : m_portName(portName)
{
}

Controller::Controller(const QSerialPortInfo &portInfo)
    : Controller(portInfo.portName())
{
}

Controller::~Controller() = default;
