#ifndef LENSMOTOR_H
#define LENSMOTOR_H

#include "boardtype.h"
#include "controller.h"

#include <QString>

#include <array>

// One motor as the command line and remote clients name it, with the driver operations that
// serve it, so every command reaches the driver through one table.
struct LensMotor
{
    using Operation = void (Controller::*)();
    using Query = int (Controller::*)();

    const char *name;
    bool onPellan;
    void (Controller::*setPosition)(int);
    // The two run directions, in the words of the command line.
    std::array<const char *, 2> directions;
    std::array<Operation, 2> runs;
    Operation stop;
    // Null for a motor whose speed cannot be chosen.
    void (Controller::*setSpeed)(char);
    Query position;
    Query maximum;

    bool isOn(BoardType board) const { return board == BoardType::Tavro || onPellan; }

    // Zoom, focus and iris, in the order they are reported.
    static const std::array<LensMotor, 3> &all();
    // The motor of that name, or null.
    static const LensMotor *named(const QString &name);
};

#endif // LENSMOTOR_H
