#ifndef PORTKEEPER_H
#define PORTKEEPER_H

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QtGlobal>

#include <memory>

class QLockFile;
class QSerialPort;

// A driver's port between its exchanges. Opening a port, with its lock files
// and its configuration, costs about a millisecond each time: a tenth of a
// Tavro query's time on the wire, and line time a fast reader needs. So the
// port that an exchange leaves in good order stays open for the next one, as
// long as no other program (nor another driver of this one) has claimed the
// next turn at it. Once one has, the port closes and the claimant gets it,
// within the exchange under way. A port nobody uses closes after idleMs, and
// so do the ports a thread keeps when it goes to wait (closeIdleOnThisThread):
// a pause, or a wait for another port, leaves them to others.
//
// The port is only kept open on the thread the keeper was made on, whose
// event loop watches it; an exchange on another thread opens and closes it as
// before. A port found idle too long at the next exchange (on a thread that
// runs no event loop) is opened afresh, and so is one whose stable name leads
// to another device by then. The keeper closes it when it goes.
class PortKeeper
{
public:
    // How long a port stays open after its last exchange.
    static constexpr int idleMs = 200;
    // How often a port kept open looks whether another program waits for it.
    static constexpr int watchMs = 2;

    PortKeeper(const QString &portName, qint32 baudRate);
    ~PortKeeper();
    PortKeeper(const PortKeeper &) = delete;
    PortKeeper &operator=(const PortKeeper &) = delete;

    // The port for the next exchange: the one kept open if it is still fit
    // for it, else a closed one set up to open at the board's rate, for this
    // exchange alone until release().
    QSerialPort &take();
    QString portName() const { return m_portName; }
    // Held while the port is open through a link (PortLock::lockDevice).
    std::unique_ptr<QLockFile> &deviceLock() { return m_deviceLock; }
    // The exchange is over: the port stays open when it went well and nobody
    // waits for the port; after a failure it closes, so that the next
    // exchange starts on a port opened afresh, as after a cable was pulled.
    void release(bool wentWell);
    bool isKept() const;

    // Closes the ports kept open on the calling thread, which is about to
    // wait without exchanging.
    static void closeIdleOnThisThread();

private:
    void close();
    // Whether another program waits for the port kept open.
    bool isWanted() const;
    // Whether the stable name the port was opened by (a link) leads to
    // another device now: an adapter that came back as another one.
    bool leadsElsewhere() const;
    void watch();

    // As the operator chose it: QSerialPort's own name drops a leading /dev/.
    QString m_portName;
    qint32 m_baudRate;
    // Declared first, so that it is let go only after the port has closed.
    std::unique_ptr<QLockFile> m_deviceLock;
    // Made on the thread that opens it, as its notifiers must be.
    std::unique_ptr<QSerialPort> m_port;
    // Where another program claims the next turn, and the device the port's
    // name led to, found at its open.
    QString m_turnPath;
    QString m_device;
    QElapsedTimer m_sinceUse;
    QTimer m_watch;
    bool m_inUse = false;
};

#endif // PORTKEEPER_H
