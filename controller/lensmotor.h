#ifndef LENSMOTOR_H
#define LENSMOTOR_H

#include "boardtype.h"
#include "controller.h"

#include <QString>

#include <array>

// One motor with its name and the driver operations that serve it, so that
// every front end reaches the driver through one table. A motor's two run
// directions are in the same order everywhere: towards 0 (wide, near, close)
// first, towards its maximum (tele, far, open) second.
struct LensMotor
{
    using Command = void (Controller::*)();
    using Query = int (Controller::*)();

    static constexpr int towardsZero = 0;
    static constexpr int towardsMaximum = 1;

    const char *name;
    bool onPellan;
    void (Controller::*setPosition)(int);
    // The two run directions in words, indexed as above.
    std::array<const char *, 2> directions;
    std::array<Command, 2> runs;
    Command stop;
    // Null for a motor whose speed cannot be chosen.
    void (Controller::*setSpeed)(char);
    Query position;
    Query maximum;

    bool isOn(BoardType board) const { return board == BoardType::Tavro || onPellan; }
    // Its place in all(): 0 zoom, 1 focus, 2 iris.
    int index() const;

    // Zoom, focus and iris, in the order they are reported.
    static const std::array<LensMotor, 3> &all();
    // The motor of that name, or null.
    static const LensMotor *named(const QString &name);
};

#endif // LENSMOTOR_H
