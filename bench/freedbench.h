#ifndef FREEDBENCH_H
#define FREEDBENCH_H

#include "figures.h"

#include <chrono>

// The FreeD output of tavro-lensd in-process against the simulated boards,
// as a receiver on a thread of its own hears it: the packet rate, how often
// an interval is more than 2 ms off while the reads go as fast as they can,
// and the reads a second of each motor, moving and standing, against the
// targets (Tavro: 40 zoom and 40 focus reads a second while both move;
// Pellan: 150 focus reads a second).
QList<Figure> benchFreed(std::chrono::microseconds reaction);

#endif // FREEDBENCH_H
