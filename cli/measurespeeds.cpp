#include "measurespeeds.h"

#include "lensmotor.h"
#include "lensprofile.h"
#include "profilespeeds.h"
#include "speedmeasurement.h"

#include <QElapsedTimer>
#include <QTextStream>

QString MeasureSpeeds::run(const Setup &setup, const LensSession::DriverFactory &factory, QTextStream &out)
{
    QElapsedTimer clock;
    clock.start();
    // No profile of its own: the travels are planned within its limits
    // already, and go straight, backlash or not.
    LensSession session(setup.board, setup.port, LensSession::Threading::CallersThread, factory);
    SpeedMeasurement measurement(setup.board, setup.profile->data().limits,
                                 [&out](const LensMotor &motor, int level, double speed) {
                                     out << motor.name;
                                     if (level >= 0)
                                         out << ' ' << SpeedMeasurement::levelName(level);
                                     out << ' ' << speed << " counts/s\n";
                                     out.flush();
                                 });
    std::optional<SpeedMeasurement::Speeds> speeds;
    session.runWorkNow([&measurement, &speeds](Controller &driver, SessionDriver::Done &done) {
        speeds = measurement.run(driver, done);
    });
    if (!speeds)
        return SpeedMeasurement::words(measurement.failure(), setup.port);
    const ProfileSpeeds::Written written = ProfileSpeeds::write(setup.path, setup.profile->data(), *speeds);
    switch (written.kind) {
    case ProfileSpeeds::Written::Kind::Written:
        break;
    case ProfileSpeeds::Written::Kind::Invalid:
        return written.detail;
    case ProfileSpeeds::Written::Kind::Unwritable:
        return QStringLiteral("cannot write %1: %2").arg(setup.path, written.detail);
    }
    out << QStringLiteral("measured in %1 s, speeds written to %2\n")
               .arg(QString::number(double(clock.elapsed()) / 1000, 'f', 1), setup.path);
    out.flush();
    return {};
}
