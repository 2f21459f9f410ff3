#ifndef OPERATION_H
#define OPERATION_H

#include "operationmonitor.h"

class QString;

// One operation of the window on the board, from the slot that starts it to
// the end of that slot: see OperationMonitor. An operation cannot start while
// another runs, because the window's events are processed while it waits; a
// slot that finds its operation refused returns without doing anything.
class Operation
{
public:
    // step says what the operation does first, such as "Checking the board…".
    explicit Operation(OperationMonitor &monitor, const QString &step,
                       OperationMonitor::Mode mode = OperationMonitor::Mode::Busy);
    ~Operation();
    Operation(const Operation &) = delete;
    Operation &operator=(const Operation &) = delete;

    // False when another operation was running.
    explicit operator bool() const { return m_started; }

    // What the operation does from now on, for the progress dialog.
    void setStep(const QString &step);

private:
    OperationMonitor &m_monitor;
    const bool m_started;
};

#endif // OPERATION_H
