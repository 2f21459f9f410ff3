#include "serialtransaction.h"

#include "exchangelog.h"
#include "keepalive.h"
#include "portkeeper.h"
#include "tracewords.h"

#include <QByteArray>
#include <QDebug>
#include <QLockFile>
#include <QSerialPort>
#include <QThread>

#include <algorithm>
#include <cerrno>

namespace {

// Another program holds the port for one exchange at a time, some 10 ms.
constexpr unsigned long busyRetryMs = 5;
// Once the next turn is claimed, the holder closes the port as soon as its
// exchange is over: the port is looked at more often, so that the claimant
// loses as little of the line's time as it can.
constexpr unsigned long claimedRetryMs = 2;
// An exchange that takes longer than this (a tenth of the real wait for a busy
// port) shows the programs waiting for the port that it moves on, each time
// its bytes move once this long has passed since it last did.
constexpr int progressMarkMs = 50;

// One slice of a wait: what is left of it, but no more than a keep-alive slice.
int sliceOf(const QDeadlineTimer &deadline)
{
    if (deadline.isForever())
        return KeepAlive::sliceMs;
    return int(std::min<qint64>(deadline.remainingTime(), KeepAlive::sliceMs));
}

} // namespace

SerialTransaction::SerialTransaction(BoardType board, PortKeeper &keeper)
    : m_keeper(keeper)
    , m_port(keeper.take())
    , m_deviceLock(keeper.deviceLock())
    , m_portName(keeper.portName())
{
    m_sinceKeepAlive.start();
    if (ExchangeLog::hasSubscribers()) {
        m_record = std::make_unique<ExchangeRecord>();
        m_record->board = board;
        m_record->port = m_portName;
        m_record->approach = ExchangeLog::currentApproach();
    }
}

// The record is complete once the driver has judged the reply: what else came
// with it is only dropped, by the next exchange or with the port, so it goes
// into the record as well.
SerialTransaction::~SerialTransaction()
{
    if (m_record && !m_record->frame.isEmpty()) {
        if (m_port.isOpen() && m_port.bytesAvailable() > 0)
            m_record->reply += m_port.readAll();
        if (m_sinceWrite.isValid() && m_record->roundTripMs < 0)
            m_record->roundTripMs = double(m_sinceWrite.nsecsElapsed()) / 1e6;
        ExchangeLog::publish(*m_record);
    }
    m_keeper.release(m_outcome.ok());
}

bool SerialTransaction::exchange(Kind kind, const QByteArray &frame, const LinkTimeouts &timeouts)
{
    if (m_record) {
        m_record->start = QDateTime::currentDateTime();
        m_record->frame = frame;
    }
    const bool query = kind == Kind::Query;
    if (!begin(frame, timeouts.portBusyMs) || !send(frame, timeouts.writeMs))
        return false;
    m_replyDeadline = QDeadlineTimer(timeouts.replyMs, Qt::PreciseTimer);
    // The first bytes may already have been taken in while the frame left.
    if (m_port.bytesAvailable() == 0 && !waitForMore(m_replyDeadline)) {
        qCritical() << (query ? TraceWords::noQueryReply : TraceWords::noReply);
        setOutcome(ExchangeRecord::Outcome::NoReply);
        return false;
    }
    return true;
}

QByteArray SerialTransaction::read(qint64 maxSize)
{
    const QByteArray bytes = m_port.read(maxSize);
    taken(bytes);
    return bytes;
}

QByteArray SerialTransaction::readAll()
{
    const QByteArray bytes = m_port.readAll();
    taken(bytes);
    return bytes;
}

bool SerialTransaction::receive(QByteArray &reply, qsizetype count, const QDeadlineTimer &deadline)
{
    for (;;) {
        if (reply.size() < count && m_port.bytesAvailable() > 0)
            reply += read(count - reply.size());
        if (reply.size() >= count)
            return true;
        if (!waitForMore(deadline))
            return false;
    }
}

bool SerialTransaction::receiveData(QByteArray *data, qsizetype count, const QDeadlineTimer &deadline)
{
    QByteArray received;
    if (!receive(received, count, deadline)) {
        qCritical() << TraceWords::incompleteReply << received.size() << "Bytes";
        setOutcome(ExchangeRecord::Outcome::IncompleteReply);
        return false;
    }
    setOutcome(ExchangeRecord::Outcome::Ok);
    *data = received;
    qDebug() << data->toHex();
    return true;
}

bool SerialTransaction::acknowledge(bool accepted, const QByteArray &reply)
{
    setOutcome(accepted ? ExchangeRecord::Outcome::Ok : ExchangeRecord::Outcome::Rejected);
    if (!accepted) {
        qCritical() << TraceWords::unexpectedReply << reply;
        return false;
    }
    qInfo() << TraceWords::replyOk;
    return true;
}

bool SerialTransaction::open(int busyMs)
{
    // Still open from the exchange before, nobody waiting for it.
    if (m_port.isOpen()) {
        m_sinceProgressMark.start();
        return true;
    }
    // Put off by every sign of progress of the others, once the port has been
    // found busy: a port nobody waits for costs no more looks than one at its
    // turn file.
    QDeadlineTimer deadline(busyMs, Qt::PreciseTimer);
    std::optional<qint64> seen;
    // Claimed once the port has been found busy; held until it opens.
    PortLock::TurnClaim turn;
    bool lookedAgain = false;
    for (;;) {
        // Until this transaction has claimed it, a program waiting for the
        // port has the next turn, and the port is as good as busy.
        PortLock::renewClaim(turn);
        m_holder = turn ? std::nullopt : PortLock::nextTurn(m_port.portName());
        if (!m_holder) {
            m_holder = PortLock::lockDevice(m_port.portName(), m_deviceLock);
            if (!m_holder && m_port.open(QIODevice::ReadWrite)) {
                m_sinceProgressMark.start();
                return true;
            }
            if (!m_holder) {
                m_deviceLock.reset();
                m_holder = PortLock::holder(m_port);
            }
            if (!m_holder) {
                // The holder may have let go between the failed open and the
                // look at its lock; a port refused for any other reason fails
                // again.
                if (m_port.error() != QSerialPort::PermissionError || lookedAgain)
                    return false;
                lookedAgain = true;
                continue;
            }
            if (!turn)
                turn = PortLock::claimNextTurn(m_port.portName());
        }
        const qint64 progress = PortLock::progress(m_port.portName());
        if (seen && progress != *seen)
            deadline.setRemainingTime(busyMs, Qt::PreciseTimer);
        seen = progress;
        if (deadline.hasExpired())
            return false;
        // The wait may be for a port this very thread keeps open for another
        // driver (the window's look at its board beside its session): this
        // thread can hand it over only now.
        PortKeeper::closeIdleOnThisThread();
        keepAlive(deadline);
        QThread::msleep(turn ? claimedRetryMs : busyRetryMs);
    }
}

bool SerialTransaction::begin(const QByteArray &frame, int busyMs)
{
    if (!open(busyMs)) {
        qCritical() << TraceWords::notOpened << m_portName;
        qCritical() << TraceWords::reason << openFailureReason();
        setOutcome(portBusy() ? ExchangeRecord::Outcome::PortBusy : ExchangeRecord::Outcome::PortNotOpened);
        m_outcome.reason = openFailureReason();
        if (m_holder)
            m_outcome.holder = *m_holder;
        m_outcome.permission = m_port.error() == QSerialPort::PermissionError && !portBusy();
        return false;
    }
    // A port kept open may have taken in bytes since, and may still report
    // the error of a wait that ran out.
    m_port.clearError();
    m_port.clear(QSerialPort::AllDirections);

    qDebug() << TraceWords::frameFollows;
    qDebug() << frame.toHex();
    return true;
}

// QSerialPort only queues the frame in write(): the system takes it in during
// the wait, so that is where a port that fails (an adapter pulled out, say)
// shows. Such a failure is no time-out: it comes at once, with a reason.
bool SerialTransaction::send(const QByteArray &frame, int writeTimeoutMs)
{
    if (m_record)
        m_sinceWrite.start();
    const QDeadlineTimer deadline(writeTimeoutMs, Qt::PreciseTimer);
    const bool queued = m_port.write(frame) != -1;
    if (queued && waitForWritten(deadline))
        return true;
    setOutcome(ExchangeRecord::Outcome::NotWritten);
    m_outcome.whileWriting = true;
    if (queued && deadline.hasExpired()) {
        qCritical() << TraceWords::writeTimeout;
        qCritical() << "Error: " << m_port.error();
        m_outcome.reason = QString::fromLatin1(TraceWords::writeTimeout);
        return false;
    }
    m_outcome.reason = m_port.errorString();
    qCritical() << TraceWords::notWritten << m_portName;
    qCritical() << TraceWords::reason << m_port.errorString();
    return false;
}

// A port notifier's event loop may take in or send out the bytes being waited
// for between slices; so every slice starts by looking at the buffers. A slice that ends without bytes is no failure unless
// the port reports an error of its own.
bool SerialTransaction::waitForWritten(const QDeadlineTimer &deadline)
{
    for (;;) {
        if (m_port.bytesToWrite() == 0) {
            progressed();
            return true;
        }
        if (deadline.hasExpired())
            return false;
        m_port.clearError();
        // A line that hangs up only ends the input, and QSerialPort then takes
        // its reason from errno: let that not be one left by an earlier call.
        errno = 0;
        // True as soon as the system has taken some of the bytes, which need
        // not be all of them.
        if (m_port.waitForBytesWritten(sliceOf(deadline)))
            continue;
        if (m_port.error() != QSerialPort::TimeoutError)
            return false;
        keepAlive(deadline);
    }
}

bool SerialTransaction::waitForMore(const QDeadlineTimer &deadline)
{
    const qint64 buffered = m_port.bytesAvailable();
    for (;;) {
        if (m_port.bytesAvailable() > buffered) {
            progressed();
            return true;
        }
        if (deadline.hasExpired())
            return false;
        m_port.clearError();
        const bool arrived = m_port.waitForReadyRead(sliceOf(deadline));
        if (!arrived && m_port.error() != QSerialPort::TimeoutError)
            return false;
        // Bytes that keep trickling in never let a slice run out, so then the
        // time since the keep-alive last ran decides.
        if (!arrived || m_sinceKeepAlive.hasExpired(KeepAlive::sliceMs))
            keepAlive(deadline);
        if (arrived) {
            progressed();
            return true;
        }
    }
}

void SerialTransaction::keepAlive(const QDeadlineTimer &deadline)
{
    KeepAlive::call(KeepAlive::Reason::Board, deadline.remainingTime());
    m_sinceKeepAlive.restart();
}

void SerialTransaction::progressed()
{
    if (!m_sinceProgressMark.hasExpired(progressMarkMs))
        return;
    PortLock::markProgress(m_port.portName());
    m_sinceProgressMark.restart();
}

void SerialTransaction::taken(const QByteArray &bytes)
{
    if (!m_record || bytes.isEmpty())
        return;
    m_record->reply += bytes;
    m_record->roundTripMs = double(m_sinceWrite.nsecsElapsed()) / 1e6;
}

void SerialTransaction::setOutcome(ExchangeRecord::Outcome outcome)
{
    if (m_record)
        m_record->outcome = outcome;
    switch (outcome) {
    case ExchangeRecord::Outcome::Ok:
        m_outcome.kind = Outcome::Kind::Ok;
        return;
    case ExchangeRecord::Outcome::Rejected:
        m_outcome.kind = Outcome::Kind::Rejected;
        return;
    case ExchangeRecord::Outcome::NoReply:
    case ExchangeRecord::Outcome::IncompleteReply:
        m_outcome.kind = Outcome::Kind::NoReply;
        return;
    case ExchangeRecord::Outcome::NotWritten:
    case ExchangeRecord::Outcome::PortNotOpened:
        m_outcome.kind = Outcome::Kind::PortFailure;
        return;
    case ExchangeRecord::Outcome::PortBusy:
        m_outcome.kind = Outcome::Kind::Busy;
        return;
    }
}

QString SerialTransaction::openFailureReason() const
{
    if (!m_holder)
        return m_port.errorString();
    QString reason = QString::fromLatin1(TraceWords::portInUse);
    if (m_holder->pid == 0)
        return reason;
    reason += QStringLiteral(": ");
    if (!m_holder->name.isEmpty())
        reason += m_holder->name + QStringLiteral(", ");
    return reason + QStringLiteral("process ID %1").arg(m_holder->pid);
}
