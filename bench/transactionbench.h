#ifndef TRANSACTIONBENCH_H
#define TRANSACTIONBENCH_H

#include "figures.h"

#include <chrono>

// One query transaction of each driver against its simulated board, runs
// times each, with the line as the adapter delivers it (1 ms pieces) and in
// one piece. The floor is the frame and its reply on the wire plus the board's
// reaction time.
QList<Figure> benchTransactions(int runs, std::chrono::microseconds reaction);

#endif // TRANSACTIONBENCH_H
