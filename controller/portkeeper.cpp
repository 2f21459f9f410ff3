#include "portkeeper.h"

#include "portlock.h"
#include "serialportlist.h"

#include <QAbstractEventDispatcher>
#include <QLockFile>
#include <QSerialPort>
#include <QThread>

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

// The keepers whose port is open between exchanges now, of every thread.
std::mutex keptMutex;
std::vector<PortKeeper *> &kept()
{
    static std::vector<PortKeeper *> keepers;
    return keepers;
}

void forget(PortKeeper *keeper)
{
    const std::lock_guard lock(keptMutex);
    std::vector<PortKeeper *> &keepers = kept();
    keepers.erase(std::remove(keepers.begin(), keepers.end(), keeper), keepers.end());
}

} // namespace

PortKeeper::PortKeeper(const QString &portName, qint32 baudRate)
    : m_portName(portName)
    , m_baudRate(baudRate)
{
    m_watch.setInterval(watchMs);
    QObject::connect(&m_watch, &QTimer::timeout, &m_watch, [this] { watch(); });
}

PortKeeper::~PortKeeper()
{
    close();
}

QSerialPort &PortKeeper::take()
{
    m_watch.stop();
    forget(this);
    if (isKept() && (isWanted() || m_sinceUse.hasExpired(idleMs) || leadsElsewhere()))
        close();
    m_inUse = true;
    // Only a closed port is left by an exchange on another thread.
    if (m_port && m_port->thread() != QThread::currentThread())
        m_port.reset();
    if (!m_port) {
        m_port = std::make_unique<QSerialPort>();
        m_port->setPortName(m_portName);
        // Set before the port opens, they go to the line in the one
        // configuration made as it opens: the line never runs at another rate
        // for a moment, and a rate the port refuses fails the open instead of
        // passing unnoticed.
        m_port->setBaudRate(m_baudRate);
        m_port->setDataBits(QSerialPort::Data8);
        m_port->setParity(QSerialPort::NoParity);
        m_port->setStopBits(QSerialPort::OneStop);
        // A line that fails while the port waits between exchanges (a board
        // that hangs up, an adapter pulled out) would report its error to the
        // event loop again and again, with nobody to read it.
        QObject::connect(m_port.get(), &QSerialPort::errorOccurred, m_port.get(),
                         [this](QSerialPort::SerialPortError error) {
                             if (!m_inUse && error != QSerialPort::NoError)
                                 close();
                         });
    }
    if (!m_port->isOpen()) {
        m_turnPath = PortLock::turnPath(m_port->portName());
        m_device = serialPortDevice(m_portName);
    }
    return *m_port;
}

void PortKeeper::release(bool wentWell)
{
    m_inUse = false;
    m_sinceUse.start();
    if (!m_port || !m_port->isOpen())
        return;
    if (!wentWell || QThread::currentThread() != m_watch.thread() || isWanted()) {
        close();
        return;
    }
    {
        const std::lock_guard lock(keptMutex);
        kept().push_back(this);
    }
    // A thread of the system's own, not Qt's, has no event loop to watch on.
    if (QAbstractEventDispatcher::instance())
        m_watch.start();
}

bool PortKeeper::isKept() const
{
    return m_port && m_port->isOpen() && !m_inUse;
}

void PortKeeper::closeIdleOnThisThread()
{
    std::vector<PortKeeper *> idle;
    {
        const std::lock_guard lock(keptMutex);
        for (PortKeeper *keeper : kept()) {
            if (keeper->m_watch.thread() == QThread::currentThread())
                idle.push_back(keeper);
        }
    }
    // Only this thread closes, or destroys, the keepers it found.
    for (PortKeeper *keeper : idle)
        keeper->close();
}

void PortKeeper::close()
{
    m_watch.stop();
    forget(this);
    if (m_port && m_port->isOpen())
        m_port->close();
    m_deviceLock.reset();
}

bool PortKeeper::isWanted() const
{
    return PortLock::claimant(m_turnPath).has_value();
}

bool PortKeeper::leadsElsewhere() const
{
    return m_deviceLock && serialPortDevice(m_portName) != m_device;
}

void PortKeeper::watch()
{
    if (!isKept())
        m_watch.stop();
    else if (isWanted() || m_sinceUse.hasExpired(idleMs))
        close();
}
