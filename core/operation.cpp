#include "operation.h"

Operation::Operation(OperationMonitor &monitor, const QString &step, OperationMonitor::Mode mode)
    : m_monitor(monitor)
    , m_started(monitor.begin(step, mode))
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
