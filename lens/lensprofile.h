#ifndef LENSPROFILE_H
#define LENSPROFILE_H

#include "lensaxis.h"
#include "lensvalue.h"
#include "pchip.h"

#include <QLocale>
#include <QString>

#include <array>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

// One calibration point of a table: a motor position and what the lens shows
// there (a focal length in mm, a distance in metres, an f-number).
struct LensPoint
{
    double position = 0;
    double value = 0;
};

// A focus curve: the positions that keep each distance sharp at one zoom
// position (none on a board without zoom). A distance of infinity is
// std::numeric_limits<double>::infinity().
struct FocusCurveData
{
    std::optional<double> zoom;
    std::vector<LensPoint> points;
};

// A lens profile as its file holds it, before it is checked: what the profile
// dialog edits and writes back.
struct LensProfileData
{
    QString name;
    // "tavro", "pellan", or empty for either board.
    QString board;
    std::vector<LensPoint> zoom;
    std::vector<FocusCurveData> focus;
    std::vector<LensPoint> iris;
    // The soft range of each motor, by LensAxis.
    std::array<std::optional<std::pair<int, int>>, lensAxisCount> limits;
    std::array<int, lensAxisCount> backlash{};
    // Measured speeds in counts per second, by LensAxis: low, medium and high
    // for zoom and focus, the one speed of an iris; empty for none.
    std::array<std::vector<double>, lensAxisCount> speeds;
    std::optional<double> sensorWidthMm;

    // The file's text: one line per table point, keys in the file's order.
    QByteArray toJson() const;
};

// A checked lens profile: the positions of the lens's motors in its own units.
// Every mapping answers only within its table; outside it, or without a
// table, the value is unknown.
class LensProfile
{
public:
    // What reading a profile gave: the profile, or why it was refused,
    // naming the file, the key and the point by its values.
    struct Read;
    static Read readFile(const QString &path);
    // The same for a program on board ("tavro", "pellan"): a profile for the
    // other board is refused too.
    static Read readFileFor(const QString &path, const QString &board);
    // fileName names the file in the error.
    static Read parse(const QByteArray &json, const QString &fileName);
    static Read check(const LensProfileData &data, const QString &fileName);

    const LensProfileData &data() const { return m_data; }
    const QString &name() const { return m_data.name; }
    bool hasTable(LensAxis axis) const;

    // Zoom position to focal length and back.
    std::optional<double> focalLengthMm(double zoomPosition) const;
    std::optional<double> zoomForFocalLength(double mm) const;
    // The horizontal angle of view in degrees, with the sensor's width given.
    std::optional<double> horizontalFovDeg(double zoomPosition) const;

    // Focus position to the distance in metres at a zoom position (infinity
    // at or past the infinity end), and back. The zoom is ignored for a
    // profile with a single curve.
    std::optional<double> focusDistanceM(double focusPosition, double zoomPosition) const;
    std::optional<double> focusForDistance(double metres, double zoomPosition) const;

    // Iris position to f-number and back.
    std::optional<double> fNumber(double irisPosition) const;
    std::optional<double> irisForFNumber(double f) const;

    // The values a table covers, lowest first: for focus, the distances known
    // at that zoom (the second infinity when the far end is).
    std::optional<std::pair<double, double>> range(LensAxis axis, double zoomPosition = 0) const;

    // Where a value with a unit takes a motor, rounded to a count.
    struct Target
    {
        enum class Problem { None, WrongUnit, NoTable, OutOfRange };
        std::optional<int> position;
        Problem problem = Problem::None;
        // OutOfRange: the range, as range() gives it.
        std::pair<double, double> range{};
    };
    Target positionFor(LensAxis axis, const LensValue &value, double zoomPosition) const;
    // Why a target has no position, for a usage error or a refused request:
    // "outside the profile's range 6.80 to 120.00 mm", its numbers written as
    // the locale writes them.
    static QString problemText(LensAxis axis, const Target &target, const QLocale &locale = QLocale::c());

private:
    struct Curve
    {
        double zoom = 0;
        // The position as a function of the distance in dioptres.
        Pchip byDioptres;
    };
    // The two curves a zoom position lies between, and its share towards the
    // second.
    struct Blend
    {
        const Curve *first = nullptr;
        const Curve *second = nullptr;
        double t = 0;
    };
    Blend blendAt(double zoomPosition) const;
    std::optional<std::pair<double, double>> dioptreSpan(const Blend &blend) const;
    double positionAt(const Blend &blend, double dioptres) const;

    LensProfileData m_data;
    Pchip m_zoom;
    Pchip m_iris;
    std::vector<Curve> m_curves;
};

struct LensProfile::Read
{
    std::optional<LensProfile> profile;
    QString error;
};

#endif // LENSPROFILE_H
