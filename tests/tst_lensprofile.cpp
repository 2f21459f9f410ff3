// The lens's units: the tables of a profile as their mathematics says, against
// values worked out apart from this code (a Bernstein-form evaluation of the
// same monotone cubic), and the files a profile refuses.
#include "lensprofile.h"
#include "motionplan.h"

#include <QFile>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
// Not a value: what a row expects where the value is unknown.
constexpr double unknown = std::numeric_limits<double>::quiet_NaN();

LensProfile exampleProfile()
{
    QFile file(QStringLiteral(TAVRO_PROFILES "/tavro-18x.json"));
    file.open(QIODevice::ReadOnly);
    const LensProfile::Read read = LensProfile::parse(file.readAll(), QStringLiteral("tavro-18x.json"));
    if (!read.profile)
        qFatal("%s", qPrintable(read.error));
    return *read.profile;
}

// The example profile with its tables replaced by those of the text.
QByteArray profileWith(const char *members)
{
    return QByteArray("{\"name\": \"test\", ") + members + '}';
}

} // namespace

class TestLensProfile : public QObject
{
    Q_OBJECT

private slots:
    void mappings_data();
    void mappings();
    void monotoneAndInverse_data();
    void monotoneAndInverse();
    void refused_data();
    void refused();
    void targets_data();
    void targets();
    void values_data();
    void values();
    void writtenFileReadsTheSame();
    void timedMoves_data();
    void timedMoves();
    void speedLevels_data();
    void speedLevels();
    void zoomAhead_data();
    void zoomAhead();
};

void TestLensProfile::mappings_data()
{
    QTest::addColumn<QString>("mapping");
    QTest::addColumn<double>("input");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("tolerance");

    QTest::newRow("zoom at its first point") << "mm" << 0.0 << 0.0 << 6.8 << 1e-12;
    QTest::newRow("zoom at an inner point") << "mm" << 3000.0 << 0.0 << 24.0 << 1e-12;
    QTest::newRow("zoom at its last point") << "mm" << 7350.0 << 0.0 << 120.0 << 1e-12;
    QTest::newRow("zoom 600, first segment") << "mm" << 600.0 << 0.0 << 8.209731869 << 1e-8;
    QTest::newRow("zoom 2100") << "mm" << 2100.0 << 0.0 << 15.960322669 << 1e-8;
    QTest::newRow("zoom 6000") << "mm" << 6000.0 << 0.0 << 77.092577841 << 1e-8;
    QTest::newRow("zoom 7000, last segment") << "mm" << 7000.0 << 0.0 << 107.869800118 << 1e-8;
    QTest::newRow("zoom below its table") << "mm" << -1.0 << 0.0 << unknown << 0.0;
    QTest::newRow("zoom above its table") << "mm" << 7351.0 << 0.0 << unknown << 0.0;
    QTest::newRow("8 mm") << "zoom for mm" << 8.0 << 0.0 << 533.410150 << 1e-5;
    QTest::newRow("35 mm") << "zoom for mm" << 35.0 << 0.0 << 3888.496673 << 1e-5;
    QTest::newRow("50 mm") << "zoom for mm" << 50.0 << 0.0 << 4787.324624 << 1e-5;
    QTest::newRow("120 mm, the long end") << "zoom for mm" << 120.0 << 0.0 << 7350.0 << 1e-9;
    QTest::newRow("121 mm, past the long end") << "zoom for mm" << 121.0 << 0.0 << unknown << 0.0;
    QTest::newRow("6.7 mm, past the wide end") << "zoom for mm" << 6.7 << 0.0 << unknown << 0.0;
    QTest::newRow("hfov at zoom 3000") << "hfov" << 3000.0 << 0.0 << 13.685546825 << 1e-8;
    QTest::newRow("hfov at zoom 600") << "hfov" << 600.0 << 0.0 << 38.662064766 << 1e-8;
    QTest::newRow("iris 1000") << "f" << 1000.0 << 0.0 << 2.097241379 << 1e-8;
    QTest::newRow("iris 4500") << "f" << 4500.0 << 0.0 << 11.583388738 << 1e-8;
    QTest::newRow("iris past its last stop") << "f" << 5501.0 << 0.0 << unknown << 0.0;
    QTest::newRow("f/2") << "iris for f" << 2.0 << 0.0 << 808.043309 << 1e-5;
    QTest::newRow("f/11") << "iris for f" << 11.0 << 0.0 << 4430.977491 << 1e-5;
    QTest::newRow("f/1.4, wider than the lens") << "iris for f" << 1.4 << 0.0 << unknown << 0.0;
    // Focus: the position as a cubic of the dioptres.
    QTest::newRow("2.5 m at zoom 0") << "focus for m" << 2.5 << 0.0 << 2446.660211 << 1e-5;
    QTest::newRow("1.5 m at zoom 0") << "focus for m" << 1.5 << 0.0 << 1863.062543 << 1e-5;
    QTest::newRow("0.5 m at zoom 0, its nearest") << "focus for m" << 0.5 << 0.0 << 400.0 << 1e-9;
    QTest::newRow("infinity at zoom 0") << "focus for m" << inf << 0.0 << 3500.0 << 1e-9;
    QTest::newRow("2.5 m at zoom 7350") << "focus for m" << 2.5 << 7350.0 << 1821.317929 << 1e-5;
    QTest::newRow("5 m at zoom 7350") << "focus for m" << 5.0 << 7350.0 << 2749.784476 << 1e-5;
    QTest::newRow("2.5 m halfway between the curves") << "focus for m" << 2.5 << 3675.0 << 2133.989070 << 1e-5;
    QTest::newRow("1.5 m at zoom 2000") << "focus for m" << 1.5 << 2000.0 << 1601.004708 << 1e-5;
    QTest::newRow("infinity halfway") << "focus for m" << inf << 3675.0 << 3700.0 << 1e-9;
    QTest::newRow("below the first curve's zoom: that curve") << "focus for m" << 0.8 << -100.0 << 994.479541 << 1e-5;
    QTest::newRow("above the last curve's zoom: that curve") << "focus for m" << 4.0 << 9000.0 << 2490.179003 << 1e-5;
    QTest::newRow("1 m halfway: nearer than the tele curve knows") << "focus for m" << 1.0 << 3675.0 << unknown << 0.0;
    QTest::newRow("0.4 m at zoom 0: nearer than the lens") << "focus for m" << 0.4 << 0.0 << unknown << 0.0;
    QTest::newRow("focus 2000 at zoom 0") << "m" << 2000.0 << 0.0 << 1.664260 << 1e-5;
    QTest::newRow("focus 1000 at zoom 0") << "m" << 1000.0 << 0.0 << 0.803041 << 1e-5;
    QTest::newRow("focus 3000 at zoom 7350") << "m" << 3000.0 << 7350.0 << 6.496985 << 1e-5;
    QTest::newRow("focus 2000 halfway") << "m" << 2000.0 << 3675.0 << 2.258810 << 1e-5;
    QTest::newRow("focus at the infinity end") << "m" << 3500.0 << 0.0 << inf << 0.0;
    QTest::newRow("focus past the infinity end") << "m" << 3600.0 << 0.0 << inf << 0.0;
    QTest::newRow("focus at the nearest distance") << "m" << 400.0 << 0.0 << 0.5 << 1e-9;
    QTest::newRow("focus past the nearest distance") << "m" << 399.0 << 0.0 << unknown << 0.0;
    QTest::newRow("focus 3600 halfway: before its infinity end") << "m" << 3600.0 << 3675.0 << 45.842894 << 1e-3;
}

void TestLensProfile::mappings()
{
    QFETCH(QString, mapping);
    QFETCH(double, input);
    QFETCH(double, zoom);
    QFETCH(double, expected);
    QFETCH(double, tolerance);
    const LensProfile profile = exampleProfile();
    std::optional<double> value;
    if (mapping == QLatin1String("mm"))
        value = profile.focalLengthMm(input);
    else if (mapping == QLatin1String("zoom for mm"))
        value = profile.zoomForFocalLength(input);
    else if (mapping == QLatin1String("hfov"))
        value = profile.horizontalFovDeg(input);
    else if (mapping == QLatin1String("f"))
        value = profile.fNumber(input);
    else if (mapping == QLatin1String("iris for f"))
        value = profile.irisForFNumber(input);
    else if (mapping == QLatin1String("focus for m"))
        value = profile.focusForDistance(input, zoom);
    else
        value = profile.focusDistanceM(input, zoom);
    if (std::isnan(expected)) {
        QVERIFY2(!value, qPrintable(QString::number(value.value_or(0))));
        return;
    }
    QVERIFY(value);
    if (std::isinf(expected))
        QVERIFY2(std::isinf(*value), qPrintable(QString::number(*value)));
    else
        QVERIFY2(std::abs(*value - expected) <= tolerance, qPrintable(QString::number(*value, 'f', 9)));
}

void TestLensProfile::monotoneAndInverse_data()
{
    QTest::addColumn<QByteArray>("zoomTable");
    QTest::newRow("the example's zoom") << QByteArray("[[0, 6.8], [1200, 10.5], [3000, 24.0], [5200, 58.0], [7350, 120.0]]");
    // A step between two flat stretches: straight chords or mean slopes would
    // swing past the flat values.
    QTest::newRow("a step between two nearly flat stretches") << QByteArray("[[0, 10], [1000, 10.1], [1100, 50], [2000, 50.2], [2100, 50.3]]");
    QTest::newRow("falling values") << QByteArray("[[0, 90], [500, 60], [600, 20], [3000, 10]]");
    QTest::newRow("two points, a straight line") << QByteArray("[[100, 20], [900, 60]]");
}

void TestLensProfile::monotoneAndInverse()
{
    QFETCH(QByteArray, zoomTable);
    const LensProfile::Read read = LensProfile::parse(profileWith("\"zoom\": " + zoomTable), QStringLiteral("t.json"));
    QVERIFY2(read.profile, qPrintable(read.error));
    const LensProfile &profile = *read.profile;
    const std::vector<LensPoint> &points = profile.data().zoom;
    const bool rising = points.back().value > points.front().value;
    double previous = *profile.focalLengthMm(points.front().position);
    for (std::size_t k = 0; k + 1 < points.size(); ++k) {
        const double low = std::min(points[k].value, points[k + 1].value);
        const double high = std::max(points[k].value, points[k + 1].value);
        for (double position = points[k].position + 1; position <= points[k + 1].position; position += 1) {
            const double mm = *profile.focalLengthMm(position);
            // Between two points the curve stays between their values and
            // moves one way only.
            QVERIFY2(mm >= low && mm <= high, qPrintable(QStringLiteral("%1 at %2").arg(mm).arg(position)));
            QVERIFY2(rising ? mm > previous : mm < previous, qPrintable(QString::number(position)));
            previous = mm;
            // The inverse leads back to the position it came from.
            const double back = *profile.zoomForFocalLength(mm);
            QVERIFY2(std::abs(back - position) < 1e-6, qPrintable(QStringLiteral("%1 back to %2").arg(position).arg(back)));
        }
    }
}

void TestLensProfile::refused_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("error");

    QTest::newRow("a value out of order names the point")
        << profileWith("\"zoom\": [[0, 6.8], [1200, 10.5], [3000, 9.25], [7350, 120]]")
        << "lens.json: zoom point [3000, 9.25]: the values must all rise or all fall";
    QTest::newRow("positions that do not rise")
        << profileWith("\"iris\": [[0, 1.8], [2000, 2.8], [2000, 4]]")
        << "lens.json: iris point [2000, 4]: the positions must rise from point to point";
    QTest::newRow("a focus curve's point, by its zoom")
        << profileWith("\"focus\": [{\"zoom\": 0, \"points\": [[400, 0.5], [1300, 1]]},"
                       " {\"zoom\": 7350, \"points\": [[900, 1.5], [2100, 1.5]]}]")
        << "lens.json: focus at zoom 7350 point [2100, 1.5]: the values must all rise or all fall";
    QTest::newRow("infinity where a number belongs")
        << profileWith("\"zoom\": [[0, 6.8], [7350, \"inf\"]]")
        << "lens.json: zoom point [7350, \"inf\"]: must be a position and a number";
    QTest::newRow("a position that is no count")
        << profileWith("\"zoom\": [[0, 6.8], [10.5, 9]]")
        << "lens.json: zoom point [10.5, 9]: the position must be a whole count of 0 or more";
    QTest::newRow("a focal length of 0") << profileWith("\"zoom\": [[0, 0], [10, 9]]")
                                         << "lens.json: zoom point [0, 0]: the value must be between 0.001 and 1000000";
    // Next to infinity, its dioptres would be too close to 0 for the cubic.
    QTest::newRow("a distance past 1000 km")
        << profileWith("\"focus\": [{\"points\": [[400, 0.5], [3300, 1e308], [3900, \"inf\"]]}]")
        << "lens.json: focus point [3300, 1e+308]: the value must be between 0.001 and 1000000";
    QTest::newRow("one point") << profileWith("\"zoom\": [[0, 6.8]]") << "lens.json: zoom: needs at least two points";
    QTest::newRow("two curves, one without its zoom")
        << profileWith("\"focus\": [{\"points\": [[400, 0.5], [1300, 1]]}, {\"zoom\": 7350, \"points\": [[900, 1.5], [2100, 3]]}]")
        << "lens.json: focus: with more than one curve, each needs its zoom position";
    QTest::newRow("curves running opposite ways")
        << profileWith("\"focus\": [{\"zoom\": 0, \"points\": [[400, 0.5], [1300, 1]]}, {\"zoom\": 7350, \"points\": [[900, 3], [2100, 1.5]]}]")
        << "lens.json: focus at zoom 7350: runs the other way from the first curve";
    QTest::newRow("curves out of zoom order")
        << profileWith("\"focus\": [{\"zoom\": 7350, \"points\": [[400, 0.5], [1300, 1]]}, {\"zoom\": 0, \"points\": [[900, 1.5], [2100, 3]]}]")
        << "lens.json: focus at zoom 0: the curves must be at rising zoom positions";
    QTest::newRow("a key no profile has") << profileWith("\"zom\": []") << "lens.json: zom: not a key of a lens profile";
    QTest::newRow("limits upside down") << profileWith("\"limits\": {\"focus\": [4000, 300]}")
                                        << "lens.json: limits.focus: must be [lowest, highest]";
    QTest::newRow("speeds falling") << profileWith("\"speeds\": {\"zoom\": [400, 120, 1500]}")
                                    << "lens.json: speeds.zoom: must be three speeds above 0";
    QTest::newRow("three iris speeds") << profileWith("\"speeds\": {\"iris\": [1, 2, 3]}")
                                       << "lens.json: speeds.iris: must be one speed above 0 in counts per second";
    QTest::newRow("negative backlash") << profileWith("\"backlash\": {\"zoom\": -3}")
                                       << "lens.json: backlash.zoom: must be a whole count of 0 or more";
    QTest::newRow("an unknown board") << profileWith("\"board\": \"other\"") << "lens.json: board: must be \"tavro\" or \"pellan\"";
    QTest::newRow("no name") << QByteArray("{\"zoom\": [[0, 6.8], [10, 9]]}") << "lens.json: name: the profile needs a name";
    QTest::newRow("not JSON") << QByteArray("{\"name\": \"x\",") << "lens.json: not a lens profile (";
    QTest::newRow("a list, not an object") << QByteArray("[]") << "lens.json: not a lens profile: not a JSON object";
}

void TestLensProfile::refused()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, error);
    const LensProfile::Read read = LensProfile::parse(json, QStringLiteral("lens.json"));
    QVERIFY(!read.profile);
    QVERIFY2(read.error.startsWith(error), qPrintable(read.error));
}

void TestLensProfile::targets_data()
{
    QTest::addColumn<QString>("profileMembers");
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("unit");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<double>("zoom");

    const QString example;
    const int mm = int(LensValue::Unit::Millimetres);
    const int m = int(LensValue::Unit::Metres);
    const int f = int(LensValue::Unit::FNumber);
    QTest::newRow("50 mm, rounded to a count") << example << int(LensAxis::Zoom) << mm << 50.0 << 4787 << QString() << 3675.0;
    // Infinity is the far end itself: its count reads as infinity again.
    QTest::newRow("infinity at zoom 4780, on the far side of its end at 3760.1")
        << example << int(LensAxis::Focus) << m << inf << 3761 << QString() << 4780.0;
    QTest::newRow("infinity at zoom 3675") << example << int(LensAxis::Focus) << m << inf << 3700 << QString() << 3675.0;
    QTest::newRow("f/11, rounded up to a count") << example << int(LensAxis::Iris) << f << 11.0 << 4431 << QString() << 3675.0;
    QTest::newRow("counts as given") << example << int(LensAxis::Focus) << int(LensValue::Unit::Counts) << 3012.0 << 3012
                                     << QString() << 3675.0;
    QTest::newRow("past the long end") << example << int(LensAxis::Zoom) << mm << 150.0 << -1
                                       << "outside the profile's range 6.80 to 120.00 mm" << 3675.0;
    QTest::newRow("nearer than both curves know") << example << int(LensAxis::Focus) << m << 1.0 << -1
                                                  << "outside the profile's range 1.500 to inf m" << 3675.0;
    QTest::newRow("an f-number the lens has not") << example << int(LensAxis::Iris) << f << 32.0 << -1
                                                  << "outside the profile's range f/1.80 to f/22.00" << 3675.0;
    QTest::newRow("metres for the zoom") << example << int(LensAxis::Zoom) << m << 2.0 << -1
                                         << "the zoom takes counts or a focal length in mm" << 3675.0;
    QTest::newRow("no iris table") << "\"zoom\": [[0, 6.8], [10, 9]]" << int(LensAxis::Iris) << f << 4.0 << -1
                                   << "the profile has no f-numbers" << 3675.0;
}

void TestLensProfile::targets()
{
    QFETCH(QString, profileMembers);
    QFETCH(int, axis);
    QFETCH(int, unit);
    QFETCH(double, value);
    QFETCH(int, position);
    QFETCH(QString, problem);
    QFETCH(double, zoom);
    const LensProfile profile = profileMembers.isEmpty()
        ? exampleProfile()
        : *LensProfile::parse(profileWith(profileMembers.toUtf8().constData()), QStringLiteral("t.json")).profile;
    const LensProfile::Target target = profile.positionFor(LensAxis(axis), {LensValue::Unit(unit), value}, zoom);
    QCOMPARE(target.position.value_or(-1), position);
    if (std::isinf(value) && target.position)
        QVERIFY(std::isinf(profile.focusDistanceM(*target.position, zoom).value_or(0)));
    QCOMPARE(LensProfile::problemText(LensAxis(axis), target), problem);
}

void TestLensProfile::values_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("unit");
    QTest::addColumn<double>("value");

    const int none = -1;
    QTest::newRow("counts") << "3012" << "C" << int(LensValue::Unit::Counts) << 3012.0;
    QTest::newRow("35mm") << "35mm" << "C" << int(LensValue::Unit::Millimetres) << 35.0;
    QTest::newRow("35.5 MM, spaced") << " 35.5 MM " << "C" << int(LensValue::Unit::Millimetres) << 35.5;
    QTest::newRow("2.5m") << "2.5m" << "C" << int(LensValue::Unit::Metres) << 2.5;
    QTest::newRow("2,5 m in German") << "2,5 m" << "de_DE" << int(LensValue::Unit::Metres) << 2.5;
    QTest::newRow("inf") << "INF" << "C" << int(LensValue::Unit::Metres) << inf;
    QTest::newRow("the infinity sign") << "\u221e" << "de_DE" << int(LensValue::Unit::Metres) << inf;
    QTest::newRow("f4") << "f4" << "C" << int(LensValue::Unit::FNumber) << 4.0;
    QTest::newRow("F/2.8") << "F/2.8" << "C" << int(LensValue::Unit::FNumber) << 2.8;
    QTest::newRow("a negative distance") << "-2m" << "C" << none << 0.0;
    QTest::newRow("0 mm") << "0mm" << "C" << none << 0.0;
    QTest::newRow("a unit alone") << "mm" << "C" << none << 0.0;
    QTest::newRow("counts with a fraction") << "30.5" << "C" << none << 0.0;
    QTest::newRow("negative counts") << "-3" << "C" << none << 0.0;
    QTest::newRow("an unknown unit") << "35cm" << "C" << none << 0.0;
}

void TestLensProfile::values()
{
    QFETCH(QString, text);
    QFETCH(QString, locale);
    QFETCH(int, unit);
    QFETCH(double, value);
    const std::optional<LensValue> parsed = LensValue::parse(text, QLocale(locale));
    QCOMPARE(parsed ? int(parsed->unit) : -1, unit);
    if (parsed)
        QCOMPARE(parsed->value, value);
}

void TestLensProfile::writtenFileReadsTheSame()
{
    const LensProfile profile = exampleProfile();
    const QByteArray written = profile.data().toJson();
    const LensProfile::Read read = LensProfile::parse(written, QStringLiteral("written.json"));
    QVERIFY2(read.profile, qPrintable(read.error + QLatin1Char('\n') + QString::fromUtf8(written)));
    QCOMPARE(read.profile->data().toJson(), written);
    const LensProfile &again = *read.profile;
    for (double position : {0.0, 1234.0, 5000.0, 7350.0})
        QCOMPARE(again.focalLengthMm(position), profile.focalLengthMm(position));
    QCOMPARE(again.focusForDistance(2.0, 5000), profile.focusForDistance(2.0, 5000));
    QCOMPARE(again.fNumber(3333), profile.fNumber(3333));
    QCOMPARE(again.data().limits, profile.data().limits);
    QCOMPARE(again.data().backlash, profile.data().backlash);
    QCOMPARE(again.data().speeds, profile.data().speeds);
    QCOMPARE(again.horizontalFovDeg(100), profile.horizontalFovDeg(100));
}

using Travels = std::array<std::optional<MotionPlan::Travel>, 3>;
Q_DECLARE_METATYPE(Travels)

// Timed moves of the example lens's motors (zoom 400/1500/6000, focus
// 300/1200/4000, iris 2750 counts/s): the time they take, when each sets off
// and how long it travels, and every eased course slow in and slow out,
// never slower than its motor's slowest speed nor faster than its fastest,
// covering its travel exactly.
void TestLensProfile::timedMoves_data()
{
    QTest::addColumn<Travels>("travels");
    QTest::addColumn<double>("asked");
    QTest::addColumn<double>("seconds");
    // Per motor: start and travel seconds, -1 for no leg, the travel negative
    // for one at its slowest speed throughout.
    QTest::addColumn<QList<double>>("legs");
    using T = MotionPlan::Travel;
    const std::vector<double> zoom{400, 1500, 6000};
    const std::vector<double> focus{300, 1200, 4000};
    const std::vector<double> iris{2750};
    QTest::newRow("zoom, focus and iris in 6 s: the iris sets off late")
        << Travels{{T{300, 7000, zoom}, T{700, 3500, focus}, T{1200, 4000, iris}}} << 6.0 << 6.0
        << QList<double>{0, 6, 0, 6, 6 - 2800 / 2750.0, -2800 / 2750.0};
    QTest::newRow("a short travel creeps at the slowest speed and arrives with the rest")
        << Travels{{T{0, 7350, zoom}, T{3000, 2500, focus}, std::nullopt}} << 4.0 << 4.0
        << QList<double>{0, 4, 4 - 500 / 300.0, -500 / 300.0, -1, -1};
    QTest::newRow("1 s is too soon for the whole zoom: the shortest a sine course makes")
        << Travels{{T{7350, 0, zoom}, std::nullopt, std::nullopt}} << 1.0 << 3.14159265358979 * 7350 / 12000
        << QList<double>{0, 3.14159265358979 * 7350 / 12000, -1, -1, -1, -1};
    QTest::newRow("the iris alone, longer than it takes: at its speed, to arrive on time")
        << Travels{{std::nullopt, std::nullopt, T{5500, 0, iris}}} << 5.0 << 5.0 << QList<double>{-1, -1, -1, -1, 3, -2};
    QTest::newRow("nowhere to go: no leg") << Travels{{T{300, 300, zoom}, std::nullopt, std::nullopt}} << 2.0 << 2.0
                                           << QList<double>{-1, -1, -1, -1, -1, -1};
}

void TestLensProfile::timedMoves()
{
    QFETCH(Travels, travels);
    QFETCH(double, asked);
    QFETCH(double, seconds);
    QFETCH(QList<double>, legs);
    const MotionPlan::TimedMove move = MotionPlan::planTimed(asked, travels);
    QCOMPARE(move.seconds, seconds);
    QCOMPARE(move.lengthened, seconds > asked);
    for (size_t i = 0; i < travels.size(); ++i) {
        const std::optional<MotionPlan::Leg> &leg = move.legs[i];
        QCOMPARE(bool(leg), legs[int(2 * i)] >= 0);
        if (!leg)
            continue;
        QCOMPARE(leg->start, legs[int(2 * i)]);
        QCOMPARE(leg->eased ? leg->seconds : -leg->seconds, legs[int(2 * i + 1)]);
        const double distance = std::abs(travels[i]->to - travels[i]->from);
        QVERIFY(std::abs(MotionPlan::coveredAt(*leg, leg->seconds) - distance) < 1e-6);
        if (!leg->eased)
            continue;
        QVERIFY(MotionPlan::coveredAt(*leg, leg->seconds / 10) <= 0.07 * distance);
        QVERIFY(distance - MotionPlan::coveredAt(*leg, leg->seconds * 0.9) <= 0.07 * distance);
        const double step = leg->seconds / 1000;
        for (double t = 0; t < leg->seconds - step / 2; t += step) {
            const double speed = (MotionPlan::coveredAt(*leg, t + step) - MotionPlan::coveredAt(*leg, t)) / step;
            QVERIFY2(speed >= travels[i]->speeds.front() * 0.999 && speed <= travels[i]->speeds.back() * 1.001,
                     qPrintable(QStringLiteral("%1 counts/s at %2 s").arg(speed).arg(t)));
        }
    }
}

// The level nearest the speed a course needs, by ratio.
void TestLensProfile::speedLevels_data()
{
    QTest::addColumn<double>("needed");
    QTest::addColumn<int>("level");
    for (const auto &[needed, level] : std::initializer_list<std::pair<double, int>>{
             {-500, 0}, {0, 0}, {770, 0}, {780, 1}, {2999, 1}, {3001, 2}, {1e6, 2}})
        QTest::addRow("%g counts/s", needed) << needed << level;
}

void TestLensProfile::speedLevels()
{
    QFETCH(double, needed);
    QFETCH(int, level);
    QCOMPARE(MotionPlan::levelFor(needed, {400, 1500, 6000}), level);
    QCOMPARE(MotionPlan::levelFor(needed, {2750}), 0);
}

// Where the focus that follows a zoom is sent: the zoom's position a lead
// ahead, and, at the example lens's 3 m (focus 2600 at zoom 0 and 2100 at
// zoom 7350, blended in proportion), the focus that keeps it sharp there.
void TestLensProfile::zoomAhead_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<double>("velocity");
    QTest::addColumn<int>("target");
    QTest::addColumn<double>("ahead");
    QTest::addColumn<double>("focus");
    QTest::newRow("running tele") << 3000 << 1500.0 << -1 << 3150.0 << 2385.714;
    QTest::newRow("running wide") << 3000 << -1500.0 << -1 << 2850.0 << 2406.122;
    QTest::newRow("a goto ends short of the lead") << 3000 << 1500.0 << 3100 << 3100.0 << 2389.116;
    QTest::newRow("a goto behind: as it is") << 3000 << 1500.0 << 2000 << 3000.0 << 2395.918;
    QTest::newRow("at the end stop") << 7300 << 6000.0 << -1 << 7350.0 << 2100.0;
    QTest::newRow("standing") << 0 << 0.0 << 0 << 0.0 << 2600.0;
}

void TestLensProfile::zoomAhead()
{
    QFETCH(int, position);
    QFETCH(double, velocity);
    QFETCH(int, target);
    QFETCH(double, ahead);
    QFETCH(double, focus);
    const double got = MotionPlan::zoomAhead(position, velocity, 0.1, target >= 0 ? std::optional(target) : std::nullopt, 7350);
    QCOMPARE(got, ahead);
    QVERIFY(std::abs(*exampleProfile().focusForDistance(3.0, got) - focus) < 1e-3);
}

QTEST_GUILESS_MAIN(TestLensProfile)
#include "tst_lensprofile.moc"
