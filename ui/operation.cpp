#include "operation.h"

#include "operationmonitor.h"

Operation::Operation(OperationMonitor &monitor, const QString &step)
    : m_monitor(monitor)
    , m_started(monitor.begin(step))
{
}

Operation::~Operation()
{
    if (m_started)
        m_monitor.end();
}

void Operation::setStep(const QString &step)
{
    if (m_started)
        m_monitor.setStep(step);
}
