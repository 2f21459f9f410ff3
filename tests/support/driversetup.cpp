#include "driversetup.h"

#include "controller_tavro.h"
#include "controller_usm.h"

#include <QThread>

DriverSetup::DriverSetup(const LinkTimeouts &tavro, const LinkTimeouts &pellan, double timeScale)
    : m_previousReporter(OperatorReport::setReporter(
          [this](OperatorReport::Severity icon, const QString &text, const QString &detail) {
              reports.append({icon, text, detail});
          }))
    , m_previousPause(Pause::setFunction([this, timeScale](unsigned long ms) {
        pauses << ms;
        if (onPause)
            std::exchange(onPause, nullptr)();
        if (timeScale > 0)
            QThread::msleep(static_cast<unsigned long>(ms / timeScale));
    }))
    , m_previousTavro(ControllerTavro::timeouts())
    , m_previousPellan(ControllerUSM::timeouts())
{
    ControllerTavro::setTimeouts(tavro);
    ControllerUSM::setTimeouts(pellan);
}

DriverSetup::~DriverSetup()
{
    ControllerTavro::setTimeouts(m_previousTavro);
    ControllerUSM::setTimeouts(m_previousPellan);
    Pause::setFunction(m_previousPause);
    OperatorReport::setReporter(m_previousReporter);
}

QStringList DriverSetup::texts() const
{
    QStringList texts;
    for (const Report &report : reports)
        texts << report.text;
    return texts;
}
