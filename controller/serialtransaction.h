#ifndef SERIALTRANSACTION_H
#define SERIALTRANSACTION_H

#include "exchangerecord.h"
#include "outcome.h"
#include "portlock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QString>

#include <memory>
#include <optional>

class PortKeeper;
class QByteArray;
class QLockFile;
class QSerialPort;

// How long one exchange waits for the frame to leave the port, for the first
// reply bytes, and (Tavro queries only) for the rest of the data after them;
// and, before all that, for a port that another program holds.
struct LinkTimeouts
{
    int writeMs;
    int replyMs;
    int extraReplyMs;
    int portBusyMs = 500;
};

// The steps every exchange with a board shares: open the driver's port by
// name at the board's baud rate (8N1, no flow control), unless it is still
// open from the exchange before; drop stale bytes, write one frame, collect
// the reply. When the transaction object goes away, the port goes back to its
// keeper, which keeps it open only after an exchange that went well (see
// PortKeeper). Each driver judges the reply itself.
//
// A reply may reach the program in any number of pieces: a USB serial adapter
// hands over whatever crossed the line in each of its 1 ms frames, so even a
// five-byte reply comes in two or three. Replies are therefore collected until
// they are complete or their time is up, never taken from a single wait.
//
// Every reply byte passes through the transaction, so that each exchange can
// be recorded as it went over the wire: when someone listens to ExchangeLog,
// the transaction publishes the record of its exchange as it ends.
class SerialTransaction
{

public:
    SerialTransaction(BoardType board, PortKeeper &keeper);
    ~SerialTransaction();
    SerialTransaction(const SerialTransaction &) = delete;
    SerialTransaction &operator=(const SerialTransaction &) = delete;

    // A command expects a short acknowledgement, a query a reply with data;
    // they differ in what an operator is told and in the log.
    enum class Kind { Command, Query };

    // Opens and configures the port (if it is not open still), drops stale
    // bytes, writes the frame and waits for the first reply bytes, up to
    // timeouts.replyMs after the frame has left. A port that another program
    // holds is tried again every few milliseconds until it is free, giving up once timeouts.portBusyMs have
    // passed without a sign of progress from the holder (see
    // PortLock::progress). A port that cannot be opened
    // is reported to the operator; so is a port that fails while the frame
    // goes out, for a query only. A frame that does not leave in time is only
    // logged.
    bool exchange(Kind kind, const QByteArray &frame, const LinkTimeouts &timeouts);

    // Whether the port could not be opened because another program held it
    // all the time the exchange waited for it.
    bool portBusy() const { return m_holder.has_value(); }

    // Reply bytes waiting now: up to maxSize of them, or all.
    QByteArray read(qint64 maxSize);
    QByteArray readAll();

    // Appends reply bytes to reply until it holds count bytes or the deadline
    // has passed; bytes beyond count stay unread. True when reply is complete.
    bool receive(QByteArray &reply, qsizetype count, const QDeadlineTimer &deadline);

    // Collects count bytes of reply data within the deadline into *data. When
    // they do not all come, logs how many did and leaves *data as it was.
    bool receiveData(QByteArray *data, qsizetype count, const QDeadlineTimer &deadline);

    // Logs whether the board accepted the frame; reply, what it answered,
    // goes to the log when it did not. Returns accepted.
    bool acknowledge(bool accepted, const QByteArray &reply);

    // The reply time-out, counted from when the frame left the port.
    QDeadlineTimer replyDeadline() const { return m_replyDeadline; }

    // How the exchange went so far, as data for whoever asked.
    const Outcome &outcome() const { return m_outcome; }

private:
    // Opens the port, waiting while another program holds it, up to busyMs
    // since its last sign of progress.
    bool open(int busyMs);
    bool begin(const QByteArray &frame, int busyMs);
    bool send(const QByteArray &frame, int writeTimeoutMs);
    // Waits until the frame has left; false once the deadline has passed or
    // the port has failed.
    bool waitForWritten(const QDeadlineTimer &deadline);
    // Waits for more bytes than are already buffered; false once the deadline
    // has passed or the port has failed. Returns as soon as bytes arrive.
    bool waitForMore(const QDeadlineTimer &deadline);
    void keepAlive(const QDeadlineTimer &deadline);
    // Bytes have moved: the programs waiting for the port are shown so, if
    // they have not been for a while.
    void progressed();
    // In English, for the log and the outcome; the window words its own box.
    QString openFailureReason() const;
    // Reply bytes taken from the port, for the record.
    void taken(const QByteArray &bytes);
    void setOutcome(ExchangeRecord::Outcome outcome);

    PortKeeper &m_keeper;
    QSerialPort &m_port;
    // Held while the port is open through a link: the device's own lock.
    std::unique_ptr<QLockFile> &m_deviceLock;
    // As the operator chose it: QSerialPort's own name drops a leading /dev/.
    QString m_portName;
    QDeadlineTimer m_replyDeadline;
    QElapsedTimer m_sinceKeepAlive;
    QElapsedTimer m_sinceProgressMark;
    // The other program that held the port, or had claimed its next turn,
    // when it last failed to open.
    std::optional<PortHolder> m_holder;
    Outcome m_outcome;
    // Only while someone listens to ExchangeLog.
    std::unique_ptr<ExchangeRecord> m_record;
    QElapsedTimer m_sinceWrite;
};

#endif // SERIALTRANSACTION_H
