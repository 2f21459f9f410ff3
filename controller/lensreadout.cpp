#include "lensreadout.h"

#include <QJsonObject>

// A position of -1 can be a real place on the Pellan lens, so a failed read is
// told by the driver's count; a maximum is never negative. The first read
// without an answer ends the readout: the board would not answer the next.
QString LensReadout::read(Controller &driver, BoardType board, QString *text, QJsonObject *json)
{
    const int failuresBefore = driver.failureCount();
    for (const LensMotor &motor : LensMotor::all()) {
        const QString name = QLatin1String(motor.name);
        const QString maxName = name + QStringLiteral("Max");
        if (!motor.isOn(board)) {
            json->insert(name, QJsonValue::Null);
            json->insert(maxName, QJsonValue::Null);
            continue;
        }
        const int position = (driver.*motor.position)();
        if (driver.failureCount() != failuresBefore)
            return noAnswer(driver);
        const int maximum = (driver.*motor.maximum)();
        if (driver.failureCount() != failuresBefore || maximum < 0)
            return noAnswer(driver);
        json->insert(name, position);
        json->insert(maxName, maximum);
        *text += QStringLiteral("%1 %2\n%3 %4\n").arg(name).arg(position).arg(maxName).arg(maximum);
    }
    return {};
}

QString LensReadout::noAnswer(const Controller &driver)
{
    return QStringLiteral("no valid answer from the board on ") + driver.portName();
}

QString LensReadout::rejected(const Controller &driver)
{
    return QStringLiteral("the board on %1 rejected the command or did not acknowledge it").arg(driver.portName());
}
