#ifndef LENSBOARD_H
#define LENSBOARD_H

#include "boardtype.h"
#include "controller.h"

#include <QString>

#include <memory>

// What the program knows of each board type, decided once for every front
// end: its driver and how long the board goes on working after it has
// acknowledged a calibration. Which motors it has, and which speeds can be
// chosen, the motor table tells (LensMotor).
namespace LensBoard {

// The driver of board on port; nothing for no board.
std::unique_ptr<Controller> makeDriver(BoardType board, const QString &port);

// The Tavro board calibrates on its own once it has taken the command; the
// Pellan driver waits for its calibration runs itself.
unsigned long calibrationWaitMs(BoardType board);

} // namespace LensBoard

#endif // LENSBOARD_H
