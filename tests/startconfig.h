#ifndef STARTCONFIG_H
#define STARTCONFIG_H

#include <QSettings>
#include <QString>
#include <QtGlobal>

// Makes the next window start as after a Save of the given board type, the
// first lens and port: the port is offered in the selector, and config.ini in
// the working folder names all three.
inline void prepareStart(int controllerType, const QString &port)
{
    qputenv("TAVRO_EXTRA_PORTS", port.toLocal8Bit());
    QSettings config(QStringLiteral("config.ini"), QSettings::IniFormat);
    config.setValue(QStringLiteral("controller/lastSelected"), controllerType);
    config.setValue(QStringLiteral("motor/lastSelected"), 1);
    config.setValue(QStringLiteral("serialPort/lastSelected"), port);
}

#endif // STARTCONFIG_H
