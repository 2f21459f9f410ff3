#include "serialportlist.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>
#include <future>
#include <mutex>

namespace {

const QString devFolder = QStringLiteral("/dev/");

QString stableNameFolder()
{
    if (qEnvironmentVariableIsSet("TAVRO_SERIAL_BY_ID"))
        return qEnvironmentVariable("TAVRO_SERIAL_BY_ID");
#ifdef Q_OS_LINUX
    return QStringLiteral("/dev/serial/by-id");
#else
    return QString();
#endif
}

QString systemName(const QString &devicePath)
{
    return devicePath.startsWith(devFolder) ? devicePath.mid(devFolder.size()) : devicePath;
}

QList<SerialPortEntry> lookUpSerialPorts()
{
    QList<SerialPortEntry> ports;
    QStringList stableDevices;
    const QString folder = stableNameFolder();
    if (!folder.isEmpty()) {
        const QDir dir(folder);
        const QStringList links = dir.entryList(QDir::System | QDir::Files, QDir::Name);
        for (const QString &link : links) {
            const QString path = dir.absoluteFilePath(link);
            // A link whose adapter has gone points at nothing.
            const QString device = QFileInfo(path).canonicalFilePath();
            if (device.isEmpty())
                continue;
            stableDevices << systemName(device);
            ports.append({path, systemName(device)});
        }
    }

    QStringList names;
    const auto systemPorts = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : systemPorts)
        names << port.portName();
    names << qEnvironmentVariable("TAVRO_EXTRA_PORTS").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    for (const QString &name : std::as_const(names)) {
        const QString device = serialPortDevice(name);
        if (device.isEmpty() || !stableDevices.contains(device))
            ports.append({name, QString()});
    }
    return ports;
}

std::mutex lookAheadMutex;
std::future<QList<SerialPortEntry>> lookAhead;

} // namespace

QString serialPortDevice(const QString &name)
{
    const bool path = name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1String("./"))
                      || name.startsWith(QLatin1String("../"));
    const QString device = QFileInfo(path ? name : devFolder + name).canonicalFilePath();
    return device.isEmpty() ? device : systemName(device);
}

void lookUpSerialPortsAhead()
{
    const std::lock_guard lock(lookAheadMutex);
    if (!lookAhead.valid())
        lookAhead = std::async(std::launch::async, lookUpSerialPorts);
}

QList<SerialPortEntry> availableSerialPorts()
{
    std::future<QList<SerialPortEntry>> ahead;
    {
        const std::lock_guard lock(lookAheadMutex);
        ahead = std::move(lookAhead);
    }
    return ahead.valid() ? ahead.get() : lookUpSerialPorts();
}

QString serialPortLabel(const SerialPortEntry &port)
{
    const QFileInfo name(port.name);
    const QString folder = stableNameFolder();
    if (folder.isEmpty() || !name.isAbsolute() || name.absolutePath() != QDir(folder).absolutePath())
        return port.name;
    if (port.device.isEmpty())
        return name.fileName();
    return QStringLiteral("%1 (%2)").arg(name.fileName(), port.device);
}

bool isSerialPortAvailable(const QString &name)
{
    return !name.isEmpty() && isSerialPortListed(availableSerialPorts(), name);
}

bool isSerialPortListed(const QList<SerialPortEntry> &ports, const QString &name)
{
    const QString device = serialPortDevice(name);
    return std::any_of(ports.begin(), ports.end(), [&](const SerialPortEntry &port) {
        return port.name == name || (!port.device.isEmpty() && port.device == device);
    });
}
