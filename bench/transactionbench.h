#ifndef TRANSACTIONBENCH_H
#define TRANSACTIONBENCH_H

#include "figures.h"

#include <chrono>

class QString;

// One query transaction of each driver against its simulated board, runs
// times each, with the line as the adapter delivers it (1 ms pieces) and in
// one piece: through one driver, which keeps the port open between them, and
// (the Tavro board's) through a driver of its own each, which opens the port
// for it. The floor is the frame and its reply on the wire plus the board's
// reaction time.
QList<Figure> benchTransactions(int runs, std::chrono::microseconds reaction);

// How long a program's first query waits for the port while another program
// reads the Tavro board back to back through one driver: the query's time
// less exchange, the time one takes on a port kept open. The baseline is the
// longest wait meant, one exchange on the wire and 5 ms.
QList<Figure> benchWaitingProgram(int runs, std::chrono::microseconds reaction, double exchangeMs);

// The other program of benchWaitingProgram (tavro-bench-core --read-kept PORT
// MS): reads the zoom through one driver for ms, or until its standard input
// ends, back to back, having said so on standard output; 0 when every read
// went through.
int readBackToBack(const QString &port, int ms);

#endif // TRANSACTIONBENCH_H
