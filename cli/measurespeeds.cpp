#include "measurespeeds.h"

#include "lensprofile.h"
#include "speedmeasurement.h"

#include <QElapsedTimer>
#include <QSaveFile>
#include <QTextStream>

QString MeasureSpeeds::run(const Setup &setup, const LensSession::DriverFactory &factory, QTextStream &out)
{
    QElapsedTimer clock;
    clock.start();
    // No profile of its own: the travels are planned within its limits
    // already, and go straight, backlash or not.
    LensSession session(setup.board, setup.port, LensSession::Threading::CallersThread, factory);
    SpeedMeasurement measurement(session, setup.profile->data(), out);
    QString problem;
    const std::optional<SpeedMeasurement::Speeds> speeds = measurement.run(&problem);
    if (!speeds)
        return problem;
    LensProfileData data = setup.profile->data();
    data.speeds = *speeds;
    const LensProfile::Read checked = LensProfile::check(data, setup.path);
    if (!checked.profile)
        return checked.error;
    const QByteArray json = data.toJson();
    QSaveFile file(setup.path);
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit())
        return QStringLiteral("cannot write %1: %2").arg(setup.path, file.errorString());
    out << QStringLiteral("measured in %1 s, speeds written to %2\n")
               .arg(QString::number(double(clock.elapsed()) / 1000, 'f', 1), setup.path);
    out.flush();
    return {};
}
