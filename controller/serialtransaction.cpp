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
    return begin(frame) && send(frame, query, timeouts.writeMs)
        && awaitReply(timeouts.replyMs,
                      query ? "Timeout waiting for response for NOK/OK" : "Timeout waiting for response");
}

bool SerialTransaction::begin(const QByteArray &frame)
{
    if (!m_port.open(QIODevice::ReadWrite)) {
        qCritical() << "Could not open serial port: " << m_portName;
        // The operator's box speaks of a busy port; the system's own reason (for
        // instance a missing permission on the device) is only found here.
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

bool SerialTransaction::awaitReply(int timeoutMs, const char *timeoutLine)
{
    if (!m_port.waitForReadyRead(timeoutMs)) {
        qCritical() << timeoutLine;
        return false;
    }
    return true;
}

void SerialTransaction::reportOpenFailure()
{
    OperatorReport::show(QMessageBox::Critical,
                         QStringLiteral("Could not open serial port: ") + m_portName
                             + QStringLiteral("\nCheck that the port is not used by another application."));
}
