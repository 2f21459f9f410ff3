#ifndef PSEUDOTERMINAL_H
#define PSEUDOTERMINAL_H

#include <QByteArray>
#include <QString>

#include <termios.h>

// A raw pseudo-terminal pair. The program under test opens the slave side by its
// path, as it would open a serial device; the board side reads and writes the
// master. The slave stays open here as well, so the master never sees a hang-up
// between the program's transactions.
class PseudoTerminal
{
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isOpen() const { return m_master >= 0; }
    QString errorString() const { return m_error; }
    // The device path to give QSerialPort, such as /dev/pts/4.
    QString slavePath() const { return m_slavePath; }

    // Returns what has arrived, waiting up to timeoutMs for the first byte;
    // empty when nothing came.
    QByteArray read(int timeoutMs);
    bool write(const QByteArray &bytes);

    // The line settings the program has given its side (baud rate, character
    // size, parity, stop bits, flow control), as the terminal holds them now.
    termios lineSettings() const;

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QString m_error;
};

#endif // PSEUDOTERMINAL_H
