#ifndef SERIALPORTLIST_H
#define SERIALPORTLIST_H

#include <QStringList>

// Names of the serial ports the operator can choose from: the ports the system
// reports, in its order, followed by the entries of the environment variable
// TAVRO_EXTRA_PORTS (separated like PATH entries), which lets ports the system
// does not enumerate, such as a simulated board's pseudo-terminal, be used.
QStringList availableSerialPortNames();

#endif // SERIALPORTLIST_H
