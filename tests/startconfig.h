#ifndef STARTCONFIG_H
#define STARTCONFIG_H

#include "boardtype.h"

#include <QDir>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

#include <memory>

// A new working folder for the next window, with the Pellan preset store
// emptied; the process works in the folder until it goes.
inline std::unique_ptr<QTemporaryDir> enterFreshFolder()
{
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Corvane"),
              QStringLiteral("Tavro Lens Controller"))
        .clear();
    auto folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid() || !QDir::setCurrent(folder->path()))
        return nullptr;
    return folder;
}

// Makes the next window start as after a Save of the given board type, the
// first lens and port: the port is offered in the selector, and config.ini in
// the working folder names all three.
inline void prepareStart(BoardType type, const QString &port)
{
    qputenv("TAVRO_EXTRA_PORTS", port.toLocal8Bit());
    QSettings config(QStringLiteral("config.ini"), QSettings::IniFormat);
    config.setValue(QStringLiteral("controller/lastSelected"), int(type));
    config.setValue(QStringLiteral("motor/lastSelected"), 1);
    config.setValue(QStringLiteral("serialPort/lastSelected"), port);
}

#endif // STARTCONFIG_H
