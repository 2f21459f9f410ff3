#ifndef DRIVERSETUP_H
#define DRIVERSETUP_H

#include "operatorreport.h"
#include "pause.h"
#include "serialtransaction.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Put around a test of the real drivers, and undone when it goes: shortened
// time-outs for both boards, and the operator's reports and the pauses kept
// for the test to look at. A pause lasts a timeScale-th of its length (not at
// all for 0), for a simulated board whose time runs that much faster.
class DriverSetup
{
public:
    struct Report
    {
        OperatorReport::Severity icon;
        QString text;
        QString detail;
    };

    DriverSetup(const LinkTimeouts &tavro, const LinkTimeouts &pellan, double timeScale = 0);
    ~DriverSetup();
    DriverSetup(const DriverSetup &) = delete;
    DriverSetup &operator=(const DriverSetup &) = delete;

    // The reports' texts, in order.
    QStringList texts() const;

    QList<Report> reports;
    QList<unsigned long> pauses;
    // Runs once, at the start of the next pause.
    std::function<void()> onPause;

private:
    OperatorReport::Reporter m_previousReporter;
    Pause::Function m_previousPause;
    LinkTimeouts m_previousTavro;
    LinkTimeouts m_previousPellan;
};

#endif // DRIVERSETUP_H
