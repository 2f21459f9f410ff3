#include "serialportlist.h"

#include <QDir>
#include <QSerialPortInfo>

QStringList availableSerialPortNames()
{
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports)
        names << port.portName();
    const QString extra = qEnvironmentVariable("TAVRO_EXTRA_PORTS");
    names << extra.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    return names;
}
