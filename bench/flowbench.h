#ifndef FLOWBENCH_H
#define FLOWBENCH_H

#include "figures.h"

#include <chrono>

// Save and Calibrate All through the real window (offscreen) and the real
// drivers against a simulated board, runs times each. The window's and the
// drivers' pauses sleep exactly 1/pauseScale of their length, the board's clock
// runs pauseScale times faster to match, and the floor counts the pauses
// scaled the same way, plus every frame and reply on the wire and the board's
// reaction to each.
enum class BenchBoard { Tavro, Pellan };

QList<Figure> benchFlows(BenchBoard board, int runs, double pauseScale, std::chrono::microseconds reaction);

// Tavro Save as above, runs times with the traffic window closed and as often
// with it open, one after the other, so that both see the same load.
QList<Figure> benchTrafficWindow(int runs, double pauseScale, std::chrono::microseconds reaction);

#endif // FLOWBENCH_H
