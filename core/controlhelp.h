#ifndef CONTROLHELP_H
#define CONTROLHELP_H

#include <QList>
#include <QPair>
#include <QString>

#include <functional>

// What the Help menu tells of the window's input sources: a table of keys or
// controls with what each does, per source, and what the gamepad support is.
struct ControlHelp
{
    struct Table
    {
        QString heading;
        QList<QPair<QString, QString>> rows;
    };

    QList<Table> tables;
    // For About, such as "Gamepad: SDL 2.26.5"; asked only when About is shown,
    // since finding out may load the pad's library, which a window without a
    // pad does not otherwise load.
    std::function<QString()> gamepadSupport;
    // The pad's table, rebuilt when the operator lays the pad out anew; -1
    // where there is none.
    int padTable = -1;
};

#endif // CONTROLHELP_H
