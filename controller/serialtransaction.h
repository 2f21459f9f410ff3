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

    // A command expects a short acknowledgement, a query a reply with data;
    // they differ in what an operator is told and in the log.
    enum class Kind { Command, Query };

    // Opens and configures the port, drops stale bytes, writes the frame and
    // waits once for the first reply bytes. A port that cannot be opened is
    // reported to the operator; so is a write error, for a query only.
    bool exchange(Kind kind, const QByteArray &frame, const LinkTimeouts &timeouts);

    QSerialPort &port() { return m_port; }
    void close() { m_port.close(); }

private:
    bool begin(const QByteArray &frame);
    bool send(const QByteArray &frame, bool reportWriteFailure, int writeTimeoutMs);
    bool awaitReply(int timeoutMs, const char *timeoutLine);
    void reportOpenFailure();

    QSerialPort m_port;
    // As the operator chose it: QSerialPort's own name drops a leading /dev/.
    QString m_portName;
    qint32 m_baudRate;
};

#endif // SERIALTRANSACTION_H
