#ifndef SERIALTRANSACTION_H
#define SERIALTRANSACTION_H

#include <QSerialPort>
#include <QString>

class QByteArray;

// How long one exchange waits for the frame to leave the port, for the first
// reply bytes, and (Tavro queries only) once more for the rest of the data.
struct LinkTimeouts
{
    int writeMs;
    int replyMs;
    int extraReplyMs;
};

// The steps every exchange with a board shares: open the port by name at the
// board's baud rate (8N1, no flow control), drop stale bytes, write one frame,
// wait for the reply. The port is closed when the transaction object goes away,
// so no failure path leaves it open. Each driver judges the reply itself.
class SerialTransaction
{
public:
    SerialTransaction(const QString &portName, qint32 baudRate);

    // Opens and configures the port, clears both buffers and logs the frame
    // about to be sent. On failure the operator sees the open-failure report.
    bool begin(const QByteArray &frame);

    // Writes the frame and waits until it has left. A write error is reported
    // to the operator only when reportWriteFailure is set.
    bool send(const QByteArray &frame, bool reportWriteFailure, int writeTimeoutMs);

    // Waits once for reply bytes; logs timeoutLine when none arrive.
    bool awaitReply(int timeoutMs, const char *timeoutLine);

    QSerialPort &port() { return m_port; }
    void close() { m_port.close(); }

private:
    void reportOpenFailure();

    QSerialPort m_port;
    // As the operator chose it: QSerialPort's own name drops a leading /dev/.
    QString m_portName;
    qint32 m_baudRate;
};

#endif // SERIALTRANSACTION_H
