#include "boardcommissioning.h"

#include "controller.h"
#include "lensboard.h"
#include "pause.h"

#include <QCoreApplication>
#include <QDebug>

BoardCommissioning::BoardCommissioning(std::function<QString(BoardType type)> boardName)
    : m_boardName(std::move(boardName))
{
}

void BoardCommissioning::setControllerFactory(ControllerFactory factory)
{
    m_factory = std::move(factory);
}

std::unique_ptr<Controller> BoardCommissioning::createController(BoardType type, const QString &portName) const
{
    return m_factory ? m_factory(type, portName) : LensBoard::makeDriver(type, portName);
}

BoardCommissioning::ControllerFactory BoardCommissioning::factory() const
{
    return m_factory ? m_factory : ControllerFactory(LensBoard::makeDriver);
}

BoardCommissioning::Probe BoardCommissioning::probe(BoardType type, const QString &portName) const
{
    Probe found;
    found.driver = createController(type, portName);
    if (!found.driver)
        return found;
    found.lensType = found.driver->getLensType();
    const Outcome outcome = found.driver->takeOutcome();
    // Whether the question went out at all: an exchange that could not open
    // the port is not a board that kept silent.
    const bool portFailed = outcome.kind == Outcome::Kind::Busy
        || (outcome.kind == Outcome::Kind::PortFailure && !outcome.whileWriting);
    if (portFailed)
        found.portFailure = outcome;
    if (found.lensType == -1) {
        // One driver on the port at a time.
        found.driver.reset();
        if (!portFailed)
            found.hint = otherBoardHint(type, portName);
    }
    return found;
}

QString BoardCommissioning::otherBoardHint(BoardType type, const QString &portName) const
{
    const bool tavro = type != BoardType::Tavro;
    const BoardType other = tavro ? BoardType::Tavro : BoardType::Pellan;
    const std::unique_ptr<Controller> probe = createController(other, portName);
    if (!probe || probe->getLensType() == -1)
        return QString();
    //: %1 is Tavro or Pellan, %2 the controller type as the settings panel lists it.
    const QString hint = QCoreApplication::translate("MainWindow", "A %1 board answered on this port: choose the controller type '%2'")
                             .arg(tavro ? QStringLiteral("Tavro") : QStringLiteral("Pellan"), m_boardName(other));
    qInfo() << hint;
    return hint;
}

void BoardCommissioning::configure(Controller &driver, const Choices &choices,
                                   const std::function<void(const QString &step)> &step)
{
    driver.setLensType(choices.lensType);
    if (!choices.stallDetection) {
        qDebug() << "Stalldetection is off!";
        driver.disableStallDetection(true);
    } else {
        driver.disableStallDetection(false);
    }
    driver.setSensitivityMode(choices.longCable ? 1 : 0);
    // Read before it is logged: a build without debug output still asks.
    const int sensitivityMode = driver.getSensitivityMode();
    qDebug() << "********* debug mode read: " << sensitivityMode;
    step(QCoreApplication::translate("MainWindow", "Calibrating…"));
    // The Tavro board calibrates on its own after the command; its wait is
    // announced ahead, before those the driver makes.
    const unsigned long waitMs = LensBoard::calibrationWaitMs(choices.type);
    if (waitMs > 0)
        Pause::announce(waitMs);
    driver.calibrateAll();
    if (waitMs > 0)
        Pause::wait(waitMs);
    step(QCoreApplication::translate("MainWindow", "Configuring the board…"));
    driver.setZoomSpeed(static_cast<char>(choices.zoomSpeed));
    driver.setFocusSpeed(static_cast<char>(choices.focusSpeed));
}
