#include "serialtransaction.h"

#include "operatorreport.h"

#include <QByteArray>
#include <QDebug>

SerialTransaction::SerialTransaction(const QString &portName, qint32 baudRate)
    : m_portName(portName)
    , m_baudRate(baudRate)
{
    m_port.setPortName(portName);
}

bool SerialTransaction::exchange(Kind kind, const QByteArray &frame, const LinkTimeouts &timeouts)
{
    const bool query = kind == Kind::Query;
    if (!begin(frame) || !send(frame, query, timeouts.writeMs))
        return false;
    m_replyDeadline = QDeadlineTimer(timeouts.replyMs, Qt::PreciseTimer);
    // The first bytes may already have been taken in while the frame left.
    if (m_port.bytesAvailable() == 0 && !waitForMore(m_replyDeadline)) {
        qCritical() << (query ? "Timeout waiting for response for NOK/OK" : "Timeout waiting for response");
        return false;
    }
    return true;
}

bool SerialTransaction::receive(QByteArray &reply, qsizetype count, const QDeadlineTimer &deadline)
{
    for (;;) {
        if (reply.size() < count && m_port.bytesAvailable() > 0)
            reply += m_port.read(count - reply.size());
        if (reply.size() >= count)
            return true;
        if (!waitForMore(deadline))
            return false;
    }
}

bool SerialTransaction::begin(const QByteArray &frame)
{
    if (!m_port.open(QIODevice::ReadWrite)) {
        qCritical() << "Could not open serial port: " << m_portName;
        qCritical() << "Reason: " << m_port.errorString();
        reportOpenFailure();
        return false;
    }
    m_port.setBaudRate(m_baudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.clear(QSerialPort::AllDirections);

    qDebug() << "data to transmit";
    qDebug() << frame.toHex();
    return true;
}

bool SerialTransaction::send(const QByteArray &frame, bool reportWriteFailure, int writeTimeoutMs)
{
    if (m_port.write(frame) == -1) {
        qCritical() << "Could not write to serial port: " << m_portName;
        if (reportWriteFailure)
            reportOpenFailure();
        return false;
    }
    if (!m_port.waitForBytesWritten(writeTimeoutMs)) {
        qCritical() << "Timeout waiting for bytes to be written";
        qCritical() << "Error: " << m_port.error();
        return false;
    }
    return true;
}

bool SerialTransaction::waitForMore(const QDeadlineTimer &deadline)
{
    const qint64 remainingMs = deadline.remainingTime();
    return remainingMs > 0 && m_port.waitForReadyRead(int(remainingMs));
}

void SerialTransaction::reportOpenFailure()
{
    // The box's own text speaks of a busy port; the system's reason goes with
    // it, since a missing permission on the device is just as common.
    QString reason = m_port.errorString();
#ifdef Q_OS_LINUX
    if (m_port.error() == QSerialPort::PermissionError)
        reason += QStringLiteral("\n\nOn Linux, serial devices are usually open to the members of the "
                                 "group dialout: add your user to it (sudo adduser $USER dialout), "
                                 "then log out and in again.");
#endif
    OperatorReport::show(QMessageBox::Critical,
                         QStringLiteral("Could not open serial port: ") + m_portName
                             + QStringLiteral("\nCheck that the port is not used by another application."),
                         reason);
}
