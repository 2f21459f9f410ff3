#ifndef SERIALPORTLIST_H
#define SERIALPORTLIST_H

#include <QList>
#include <QString>

// A port the operator can choose.
struct SerialPortEntry
{
    // What the port is opened by and saved as: the system's name (ttyUSB0,
    // COM3), the full path of a stable name, or an extra port as it was given.
    QString name;
    // For a stable name, the device it points to now, as the system names it
    // (ttyUSB0); empty for the others.
    QString device;
};

// The ports the operator can choose from. On Linux each USB serial adapter has
// a stable name in /dev/serial/by-id (another folder where the environment
// variable TAVRO_SERIAL_BY_ID names one), which stays the same whichever
// socket the adapter is in and whatever device it becomes: those come first,
// by name. Then the ports the system reports, in its order, and the entries of
// TAVRO_EXTRA_PORTS (separated like PATH entries), which lets ports the system
// does not enumerate, such as a simulated board's pseudo-terminal, be used;
// those of them that a stable name points to are listed under that name only.
QList<SerialPortEntry> availableSerialPorts();

// Starts a look-up of the ports on a thread of its own, which the next call
// of availableSerialPorts() takes instead of looking again. The system's list
// takes a few milliseconds to read (every tty's properties); a window asks
// for it while it builds its panel, and need not wait for it then.
void lookUpSerialPortsAhead();

// What the operator reads for a port: a stable name without its folder and
// with the device it points to now ("usb-FTDI_FT232R_A12345-if00-port0
// (ttyUSB0)"); other names as they are.
QString serialPortLabel(const SerialPortEntry &port);

// The device that the port called name leads to through any links, by the
// name QSerialPort gives it (ttyUSB0 for /dev/ttyUSB0 and for a stable name
// pointing to it); empty where there is no such device.
QString serialPortDevice(const QString &name);

// Whether the port called name can be opened now: it is listed under that
// name, or it is the device of a listed stable name.
bool isSerialPortAvailable(const QString &name);
// The same against a list already read.
bool isSerialPortListed(const QList<SerialPortEntry> &ports, const QString &name);

#endif // SERIALPORTLIST_H
