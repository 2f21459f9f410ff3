#ifndef LENSDBENCH_H
#define LENSDBENCH_H

#include "figures.h"

#include <chrono>

// The remote-control server in-process against a simulated Tavro board: an OSC
// message and an HTTP request to the end of the exchange they cause, beside
// the same exchange made by the driver directly, as the tool makes it; a
// stream of 200 OSC gotos a second; and the CPU time taken while nobody sends.
QList<Figure> benchLensd(int runs, std::chrono::microseconds reaction);

#endif // LENSDBENCH_H
