#include "lensprofile.h"

QByteArray LensProfileData::toJson() const { return {}; }
LensProfile::Read LensProfile::readFile(const QString &) { return {}; }
LensProfile::Read LensProfile::parse(const QByteArray &, const QString &) { return {}; }
LensProfile::Read LensProfile::check(const LensProfileData &, const QString &) { return {}; }
bool LensProfile::hasTable(LensAxis) const { return false; }
std::optional<double> LensProfile::focalLengthMm(double) const { return {}; }
std::optional<double> LensProfile::zoomForFocalLength(double) const { return {}; }
std::optional<double> LensProfile::horizontalFovDeg(double) const { return {}; }
std::optional<double> LensProfile::focusDistanceM(double, double) const { return {}; }
std::optional<double> LensProfile::focusForDistance(double, double) const { return {}; }
std::optional<double> LensProfile::fNumber(double) const { return {}; }
std::optional<double> LensProfile::irisForFNumber(double) const { return {}; }
std::optional<std::pair<double, double>> LensProfile::range(LensAxis, double) const { return {}; }
LensProfile::Target LensProfile::positionFor(LensAxis, const LensValue &, double) const { return {}; }
QString LensProfile::problemText(LensAxis, const Target &) { return {}; }
