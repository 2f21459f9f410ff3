#include "lensprofile.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double pi = 3.14159265358979323846;
constexpr double minimumValue = 1e-3;
constexpr double maximumValue = 1e6;
const char *const axisKeys[lensAxisCount] = {"zoom", "focus", "iris"};

// Texts worded apart from where they are used, where lupdate finds them.
//: Between a table's key and the point's values: "zoom point [3000, 9.25]".
const char *const pointWord = QT_TRANSLATE_NOOP("LensProfile", "point");
const char *const notAProfile = QT_TRANSLATE_NOOP("LensProfile", "not a lens profile");
const char *const notAnObject = QT_TRANSLATE_NOOP("LensProfile", "not a lens profile: not a JSON object");
//: A lens profile made for the other kind of board: the file, the board it names.
const char *const otherBoard = QT_TRANSLATE_NOOP("LensProfile", "the profile %1 is for the %2 board");
const char *const outsideMm = QT_TRANSLATE_NOOP("LensProfile", "outside the profile's range %1 to %2 mm");
const char *const outsideM = QT_TRANSLATE_NOOP("LensProfile", "outside the profile's range %1 to %2 m");
const char *const outsideF = QT_TRANSLATE_NOOP("LensProfile", "outside the profile's range f/%1 to f/%2");

QString translate(const char *text)
{
    return QCoreApplication::translate("LensProfile", text);
}

// A number as the file writes it: the shortest text that reads back as the
// same double.
QString numberText(double value)
{
    if (std::isinf(value))
        return QStringLiteral("\"inf\"");
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString pointText(const LensPoint &point)
{
    return QStringLiteral("[%1, %2]").arg(numberText(point.position), numberText(point.value));
}

// A JSON value as the operator wrote it, for an error that names it.
QString jsonText(const QJsonValue &value)
{
    if (value.isArray()) {
        QStringList items;
        for (const QJsonValue item : value.toArray())
            items << jsonText(item);
        return QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']');
    }
    if (value.isDouble())
        return numberText(value.toDouble());
    QJsonArray wrapped{value};
    const QByteArray text = QJsonDocument(wrapped).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

bool isWholeCount(double value)
{
    return std::isfinite(value) && value >= 0 && value == std::floor(value) && value <= 1e9;
}

// What went wrong where: every error starts with the file's name.
class Fault
{
public:
    explicit Fault(QString file)
        : m_file(std::move(file))
    {
    }
    QString at(const QString &key, const char *what) const
    {
        return QStringLiteral("%1: %2: %3").arg(m_file, key, translate(what));
    }
    QString atPoint(const QString &key, const LensPoint &point, const char *what) const
    {
        //: A lens profile's error at one point of a table: the file, the key, the point by its values, what is wrong.
        return QStringLiteral("%1: %2 %3 %4: %5")
            .arg(m_file, key, translate(pointWord), pointText(point), translate(what));
    }
    QString atJsonPoint(const QString &key, const QJsonValue &point, const char *what) const
    {
        return QStringLiteral("%1: %2 %3 %4: %5").arg(m_file, key, translate(pointWord), jsonText(point), translate(what));
    }
    const QString &file() const { return m_file; }

private:
    QString m_file;
};

// Positions whole and rising, values above 0 and all rising or all falling,
// at least two points. Empty when the table is sound.
QString checkTable(const Fault &fault, const QString &key, const std::vector<LensPoint> &points)
{
    if (points.size() < 2)
        return fault.at(key, QT_TRANSLATE_NOOP("LensProfile", "needs at least two points"));
    for (std::size_t i = 0; i < points.size(); ++i) {
        const LensPoint &point = points[i];
        if (!isWholeCount(point.position))
            return fault.atPoint(key, point, QT_TRANSLATE_NOOP("LensProfile", "the position must be a whole count of 0 or more"));
        // Far past any lens's range, and where the cubic's terms would no
        // longer fit a double.
        if (!(point.value >= minimumValue && (point.value <= maximumValue || std::isinf(point.value))))
            return fault.atPoint(key, point, QT_TRANSLATE_NOOP("LensProfile", "the value must be between 0.001 and 1000000"));
        if (i == 0)
            continue;
        if (point.position <= points[i - 1].position)
            return fault.atPoint(key, point, QT_TRANSLATE_NOOP("LensProfile", "the positions must rise from point to point"));
        const bool rising = points[1].value > points[0].value;
        if (point.value == points[i - 1].value || (point.value > points[i - 1].value) != rising)
            return fault.atPoint(key, point, QT_TRANSLATE_NOOP("LensProfile", "the values must all rise or all fall"));
    }
    return {};
}

QString focusKey(const FocusCurveData &curve)
{
    return curve.zoom ? QStringLiteral("focus at zoom %1").arg(numberText(*curve.zoom)) : QStringLiteral("focus");
}

// The speeds a motor's entry holds: three rising ones for zoom and focus,
// which have three speed levels; one for an iris, which has a single speed.
std::size_t speedCount(int axis)
{
    return axis == int(LensAxis::Iris) ? 1 : 3;
}

const char *speedsRule(int axis)
{
    return axis == int(LensAxis::Iris)
        ? QT_TRANSLATE_NOOP("LensProfile", "must be one speed above 0 in counts per second")
        : QT_TRANSLATE_NOOP("LensProfile", "must be three speeds above 0 in counts per second, low below medium below high");
}

QString speedsKey(int axis)
{
    return QStringLiteral("speeds.%1").arg(QLatin1String(axisKeys[axis]));
}

// The points of a table, as the file writes them; a value may be "inf" where
// infinity is allowed.
QString readPoints(const Fault &fault, const QString &key, const QJsonValue &json, bool infinityAllowed,
                   std::vector<LensPoint> &points)
{
    if (!json.isArray())
        return fault.at(key, QT_TRANSLATE_NOOP("LensProfile", "must be a list of [position, value] points"));
    for (const QJsonValue item : json.toArray()) {
        const QJsonArray pair = item.toArray();
        const QJsonValue value = pair.at(1);
        const bool infinite = infinityAllowed && value.toString() == QLatin1String("inf");
        if (!item.isArray() || pair.size() != 2 || !pair.at(0).isDouble() || !(value.isDouble() || infinite))
            return fault.atJsonPoint(key, item, infinityAllowed
                ? QT_TRANSLATE_NOOP("LensProfile", "must be a position and a distance in metres or \"inf\"")
                : QT_TRANSLATE_NOOP("LensProfile", "must be a position and a number"));
        points.push_back({pair.at(0).toDouble(), infinite ? infinity : value.toDouble()});
    }
    return {};
}

QString readProfile(const Fault &fault, const QJsonObject &root, LensProfileData &data)
{
    static const QStringList known{QStringLiteral("name"),   QStringLiteral("board"),    QStringLiteral("zoom"),
                                   QStringLiteral("focus"),  QStringLiteral("iris"),     QStringLiteral("limits"),
                                   QStringLiteral("backlash"), QStringLiteral("speeds"), QStringLiteral("sensorWidthMm")};
    for (auto it = root.begin(); it != root.end(); ++it) {
        if (!known.contains(it.key()))
            return fault.at(it.key(), QT_TRANSLATE_NOOP("LensProfile", "not a key of a lens profile"));
    }
    data.name = root.value(QStringLiteral("name")).toString();
    if (root.contains(QStringLiteral("board"))) {
        data.board = root.value(QStringLiteral("board")).toString();
        if (data.board.isEmpty())
            data.board = QStringLiteral("?");
    }
    if (root.contains(QStringLiteral("zoom"))) {
        if (QString error = readPoints(fault, QStringLiteral("zoom"), root.value(QStringLiteral("zoom")), false, data.zoom);
            !error.isEmpty())
            return error;
    }
    if (root.contains(QStringLiteral("iris"))) {
        if (QString error = readPoints(fault, QStringLiteral("iris"), root.value(QStringLiteral("iris")), false, data.iris);
            !error.isEmpty())
            return error;
    }
    if (root.contains(QStringLiteral("focus"))) {
        const QJsonValue focus = root.value(QStringLiteral("focus"));
        if (!focus.isArray() || focus.toArray().isEmpty())
            return fault.at(QStringLiteral("focus"), QT_TRANSLATE_NOOP("LensProfile", "must be a list of curves"));
        for (const QJsonValue item : focus.toArray()) {
            const QJsonObject curveObject = item.toObject();
            FocusCurveData curve;
            const QJsonValue zoom = curveObject.value(QStringLiteral("zoom"));
            if (zoom.isDouble())
                curve.zoom = zoom.toDouble();
            const bool keysKnown =
                curveObject.size() == (curveObject.contains(QStringLiteral("zoom")) ? 2 : 1);
            if (!item.isObject() || !curveObject.contains(QStringLiteral("points")) || !keysKnown
                || (curveObject.contains(QStringLiteral("zoom")) && !zoom.isDouble()))
                return fault.at(QStringLiteral("focus"),
                                QT_TRANSLATE_NOOP("LensProfile", "each curve must be {\"zoom\": position, \"points\": [...]}"));
            if (QString error = readPoints(fault, focusKey(curve), curveObject.value(QStringLiteral("points")), true,
                                           curve.points);
                !error.isEmpty())
                return error;
            data.focus.push_back(std::move(curve));
        }
    }
    const auto perAxis = [&](const char *key, const std::function<QString(int axis, const QJsonValue &)> &read) {
        if (!root.contains(QLatin1String(key)))
            return QString();
        const QJsonValue value = root.value(QLatin1String(key));
        if (!value.isObject())
            return fault.at(QLatin1String(key), QT_TRANSLATE_NOOP("LensProfile", "must be an object by motor"));
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            const int axis = int(std::find(std::begin(axisKeys), std::end(axisKeys), it.key()) - std::begin(axisKeys));
            if (axis >= lensAxisCount)
                return fault.at(QStringLiteral("%1.%2").arg(QLatin1String(key), it.key()),
                                QT_TRANSLATE_NOOP("LensProfile", "not a motor: zoom, focus or iris"));
            if (QString error = read(axis, it.value()); !error.isEmpty())
                return error;
        }
        return QString();
    };
    const auto subKey = [](const char *key, int axis) {
        return QStringLiteral("%1.%2").arg(QLatin1String(key), QLatin1String(axisKeys[axis]));
    };
    if (QString error = perAxis("limits", [&](int axis, const QJsonValue &value) {
            const QJsonArray pair = value.toArray();
            const double low = pair.at(0).toDouble(-1);
            const double high = pair.at(1).toDouble(-1);
            if (pair.size() != 2 || !isWholeCount(low) || !isWholeCount(high) || low >= high)
                return fault.at(subKey("limits", axis),
                                QT_TRANSLATE_NOOP("LensProfile", "must be [lowest, highest], whole counts, the lowest below the highest"));
            data.limits[axis] = std::pair<int, int>(int(low), int(high));
            return QString();
        });
        !error.isEmpty())
        return error;
    if (QString error = perAxis("backlash", [&](int axis, const QJsonValue &value) {
            if (!isWholeCount(value.toDouble(-1)))
                return fault.at(subKey("backlash", axis), QT_TRANSLATE_NOOP("LensProfile", "must be a whole count of 0 or more"));
            data.backlash[axis] = int(value.toDouble());
            return QString();
        });
        !error.isEmpty())
        return error;
    if (QString error = perAxis("speeds", [&](int axis, const QJsonValue &value) {
            // What the numbers must be is the check's word; a value that is
            // no list of them is refused with the same words.
            const QJsonArray levels = value.toArray();
            if (!value.isArray() || levels.isEmpty())
                return fault.at(speedsKey(axis), speedsRule(axis));
            for (const QJsonValue level : levels)
                data.speeds[axis].push_back(level.toDouble(-1));
            return QString();
        });
        !error.isEmpty())
        return error;
    if (root.contains(QStringLiteral("sensorWidthMm"))) {
        const QJsonValue width = root.value(QStringLiteral("sensorWidthMm"));
        if (!width.isDouble())
            return fault.at(QStringLiteral("sensorWidthMm"), QT_TRANSLATE_NOOP("LensProfile", "must be a number above 0"));
        data.sensorWidthMm = width.toDouble();
    }
    return {};
}

// The dioptres of a distance in metres: infinity is 0.
double dioptres(double metres)
{
    return std::isinf(metres) ? 0.0 : 1.0 / metres;
}

Pchip tableCurve(const std::vector<LensPoint> &points)
{
    std::vector<double> x;
    std::vector<double> y;
    for (const LensPoint &point : points) {
        x.push_back(point.position);
        y.push_back(point.value);
    }
    return Pchip(std::move(x), std::move(y));
}

// A focus curve as the position over the dioptres, which rise where the
// distances fall.
Pchip dioptreCurve(const std::vector<LensPoint> &points)
{
    std::vector<std::pair<double, double>> byDioptres;
    for (const LensPoint &point : points)
        byDioptres.emplace_back(dioptres(point.value), point.position);
    std::sort(byDioptres.begin(), byDioptres.end());
    std::vector<double> x;
    std::vector<double> y;
    for (const auto &[d, position] : byDioptres) {
        x.push_back(d);
        y.push_back(position);
    }
    return Pchip(std::move(x), std::move(y));
}

} // namespace

QByteArray LensProfileData::toJson() const
{
    QStringList members;
    const auto text = [](const QString &string) { return jsonText(QJsonValue(string)); };
    const auto table = [](const std::vector<LensPoint> &points, const QString &indent) {
        QStringList lines;
        for (const LensPoint &point : points)
            lines << indent + QStringLiteral("  ") + pointText(point);
        return QStringLiteral("[\n%1\n%2]").arg(lines.join(QStringLiteral(",\n")), indent);
    };
    members << QStringLiteral("  \"name\": %1").arg(text(name));
    if (!board.isEmpty())
        members << QStringLiteral("  \"board\": %1").arg(text(board));
    if (!zoom.empty())
        members << QStringLiteral("  \"zoom\": %1").arg(table(zoom, QStringLiteral("  ")));
    if (!focus.empty()) {
        QStringList curves;
        for (const FocusCurveData &curve : focus) {
            const QString points = table(curve.points, QStringLiteral("    "));
            curves << (curve.zoom ? QStringLiteral("    {\"zoom\": %1, \"points\": %2}").arg(numberText(*curve.zoom), points)
                                  : QStringLiteral("    {\"points\": %1}").arg(points));
        }
        members << QStringLiteral("  \"focus\": [\n%1\n  ]").arg(curves.join(QStringLiteral(",\n")));
    }
    if (!iris.empty())
        members << QStringLiteral("  \"iris\": %1").arg(table(iris, QStringLiteral("  ")));
    const auto byAxis = [&](const char *key, const std::function<QString(int)> &value) {
        QStringList entries;
        for (int axis = 0; axis < lensAxisCount; ++axis) {
            if (const QString entry = value(axis); !entry.isEmpty())
                entries << QStringLiteral("\"%1\": %2").arg(QLatin1String(axisKeys[axis]), entry);
        }
        if (!entries.isEmpty())
            members << QStringLiteral("  \"%1\": {%2}").arg(QLatin1String(key), entries.join(QStringLiteral(", ")));
    };
    byAxis("limits", [this](int axis) {
        return limits[axis] ? QStringLiteral("[%1, %2]").arg(limits[axis]->first).arg(limits[axis]->second) : QString();
    });
    byAxis("backlash", [this](int axis) { return backlash[axis] ? QString::number(backlash[axis]) : QString(); });
    byAxis("speeds", [this](int axis) {
        if (speeds[axis].empty())
            return QString();
        QStringList levels;
        for (double speed : speeds[axis])
            levels << numberText(speed);
        return QStringLiteral("[%1]").arg(levels.join(QStringLiteral(", ")));
    });
    if (sensorWidthMm)
        members << QStringLiteral("  \"sensorWidthMm\": %1").arg(numberText(*sensorWidthMm));
    return QStringLiteral("{\n%1\n}\n").arg(members.join(QStringLiteral(",\n"))).toUtf8();
}

LensProfile::Read LensProfile::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, QStringLiteral("%1: %2").arg(path, file.errorString())};
    return parse(file.readAll(), path);
}

LensProfile::Read LensProfile::readFileFor(const QString &path, const QString &board)
{
    Read read = readFile(path);
    if (read.profile && !read.profile->m_data.board.isEmpty()
        && read.profile->m_data.board.compare(board, Qt::CaseInsensitive) != 0)
        return {std::nullopt, translate(otherBoard)
                                  .arg(path, read.profile->m_data.board)};
    return read;
}

LensProfile::Read LensProfile::parse(const QByteArray &json, const QString &fileName)
{
    const Fault fault(fileName);
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return {std::nullopt, QStringLiteral("%1: %2 (%3 %4)")
                                  .arg(fileName, translate(notAProfile),
                                       parseError.errorString(), QString::number(parseError.offset))};
    if (!document.isObject())
        return {std::nullopt, QStringLiteral("%1: %2").arg(
                                  fileName, translate(notAnObject))};
    LensProfileData data;
    if (QString error = readProfile(fault, document.object(), data); !error.isEmpty())
        return {std::nullopt, error};
    return check(data, fileName);
}

LensProfile::Read LensProfile::check(const LensProfileData &data, const QString &fileName)
{
    const Fault fault(fileName);
    const auto refused = [](QString error) { return Read{std::nullopt, std::move(error)}; };
    if (data.name.trimmed().isEmpty())
        return refused(fault.at(QStringLiteral("name"), QT_TRANSLATE_NOOP("LensProfile", "the profile needs a name")));
    if (!data.board.isEmpty() && data.board != QLatin1String("tavro") && data.board != QLatin1String("pellan"))
        return refused(fault.at(QStringLiteral("board"), QT_TRANSLATE_NOOP("LensProfile", "must be \"tavro\" or \"pellan\"")));
    if (!data.zoom.empty()) {
        if (QString error = checkTable(fault, QStringLiteral("zoom"), data.zoom); !error.isEmpty())
            return refused(error);
    }
    if (!data.iris.empty()) {
        if (QString error = checkTable(fault, QStringLiteral("iris"), data.iris); !error.isEmpty())
            return refused(error);
    }
    for (std::size_t i = 0; i < data.focus.size(); ++i) {
        const FocusCurveData &curve = data.focus[i];
        const QString key = focusKey(curve);
        if (data.focus.size() > 1 && !curve.zoom)
            return refused(fault.at(key, QT_TRANSLATE_NOOP("LensProfile", "with more than one curve, each needs its zoom position")));
        if (curve.zoom && !isWholeCount(*curve.zoom))
            return refused(fault.at(key, QT_TRANSLATE_NOOP("LensProfile", "the zoom position must be a whole count of 0 or more")));
        if (i > 0 && *curve.zoom <= *data.focus[i - 1].zoom)
            return refused(fault.at(key, QT_TRANSLATE_NOOP("LensProfile", "the curves must be at rising zoom positions")));
        if (QString error = checkTable(fault, key, curve.points); !error.isEmpty())
            return refused(error);
        const auto nearerFirst = [](const FocusCurveData &c) { return c.points[1].value < c.points[0].value; };
        if (i > 0 && nearerFirst(curve) != nearerFirst(data.focus[0]))
            return refused(fault.at(key, QT_TRANSLATE_NOOP("LensProfile", "runs the other way from the first curve")));
    }
    for (int axis = 0; axis < lensAxisCount; ++axis) {
        const std::vector<double> &levels = data.speeds[axis];
        bool sound = levels.empty() || levels.size() == speedCount(axis);
        for (std::size_t level = 0; sound && level < levels.size(); ++level)
            sound = levels[level] > 0 && std::isfinite(levels[level]) && (level == 0 || levels[level] > levels[level - 1]);
        if (!sound)
            return refused(fault.at(speedsKey(axis), speedsRule(axis)));
    }
    if (data.sensorWidthMm && !(*data.sensorWidthMm > 0 && std::isfinite(*data.sensorWidthMm)))
        return refused(fault.at(QStringLiteral("sensorWidthMm"), QT_TRANSLATE_NOOP("LensProfile", "must be a number above 0")));

    LensProfile profile;
    profile.m_data = data;
    if (!data.zoom.empty())
        profile.m_zoom = tableCurve(data.zoom);
    if (!data.iris.empty())
        profile.m_iris = tableCurve(data.iris);
    for (const FocusCurveData &curve : data.focus)
        profile.m_curves.push_back({curve.zoom.value_or(0), dioptreCurve(curve.points)});
    return {std::move(profile), QString()};
}

bool LensProfile::hasTable(LensAxis axis) const
{
    switch (axis) {
    case LensAxis::Zoom:
        return !m_zoom.isEmpty();
    case LensAxis::Focus:
        return !m_curves.empty();
    case LensAxis::Iris:
        return !m_iris.isEmpty();
    }
    return false;
}

std::optional<double> LensProfile::focalLengthMm(double zoomPosition) const
{
    return m_zoom.at(zoomPosition);
}

std::optional<double> LensProfile::zoomForFocalLength(double mm) const
{
    return m_zoom.inverse(mm);
}

std::optional<double> LensProfile::horizontalFovDeg(double zoomPosition) const
{
    const std::optional<double> f = focalLengthMm(zoomPosition);
    if (!f || !m_data.sensorWidthMm)
        return std::nullopt;
    return 2 * std::atan(*m_data.sensorWidthMm / (2 * *f)) * 180 / pi;
}

std::optional<double> LensProfile::fNumber(double irisPosition) const
{
    return m_iris.at(irisPosition);
}

std::optional<double> LensProfile::irisForFNumber(double f) const
{
    return m_iris.inverse(f);
}

LensProfile::Blend LensProfile::blendAt(double zoomPosition) const
{
    if (m_curves.empty())
        return {};
    if (m_curves.size() == 1 || zoomPosition <= m_curves.front().zoom)
        return {&m_curves.front(), &m_curves.front(), 0};
    if (zoomPosition >= m_curves.back().zoom)
        return {&m_curves.back(), &m_curves.back(), 0};
    std::size_t k = 0;
    while (m_curves[k + 1].zoom < zoomPosition)
        ++k;
    const Curve &first = m_curves[k];
    const Curve &second = m_curves[k + 1];
    return {&first, &second, (zoomPosition - first.zoom) / (second.zoom - first.zoom)};
}

std::optional<std::pair<double, double>> LensProfile::dioptreSpan(const Blend &blend) const
{
    if (!blend.first)
        return std::nullopt;
    const double low = std::max(blend.first->byDioptres.firstX(), blend.second->byDioptres.firstX());
    const double high = std::min(blend.first->byDioptres.lastX(), blend.second->byDioptres.lastX());
    if (low > high)
        return std::nullopt;
    return std::pair(low, high);
}

double LensProfile::positionAt(const Blend &blend, double d) const
{
    const double first = *blend.first->byDioptres.at(d);
    if (blend.t == 0)
        return first;
    return (1 - blend.t) * first + blend.t * *blend.second->byDioptres.at(d);
}

std::optional<double> LensProfile::focusDistanceM(double focusPosition, double zoomPosition) const
{
    const Blend blend = blendAt(zoomPosition);
    const auto span = dioptreSpan(blend);
    if (!span || std::isnan(focusPosition))
        return std::nullopt;
    const auto [farD, nearD] = *span;
    const double farPosition = positionAt(blend, farD);
    const double nearPosition = positionAt(blend, nearD);
    const bool towardsNear = nearPosition > farPosition;
    // How far the position lies from the far end towards the near one.
    const double along = towardsNear ? focusPosition - farPosition : farPosition - focusPosition;
    const double length = std::abs(nearPosition - farPosition);
    if (along <= 0)
        return farD == 0 ? std::optional(infinity) : (along == 0 ? std::optional(1 / farD) : std::nullopt);
    if (along > length)
        return std::nullopt;
    double low = farD;
    double high = nearD;
    for (int step = 0; step < 200; ++step) {
        const double middle = low + (high - low) / 2;
        if (middle <= low || middle >= high)
            break;
        const double alongMiddle = towardsNear ? positionAt(blend, middle) - farPosition : farPosition - positionAt(blend, middle);
        if (alongMiddle < along)
            low = middle;
        else
            high = middle;
    }
    const double d = low + (high - low) / 2;
    return d == 0 ? infinity : 1 / d;
}

std::optional<double> LensProfile::focusForDistance(double metres, double zoomPosition) const
{
    const Blend blend = blendAt(zoomPosition);
    const auto span = dioptreSpan(blend);
    if (!span || !(metres > 0))
        return std::nullopt;
    const double d = dioptres(metres);
    if (d < span->first || d > span->second)
        return std::nullopt;
    return positionAt(blend, d);
}

std::optional<std::pair<double, double>> LensProfile::range(LensAxis axis, double zoomPosition) const
{
    const auto ends = [](const Pchip &curve) -> std::optional<std::pair<double, double>> {
        if (curve.isEmpty())
            return std::nullopt;
        return std::pair(std::min(curve.firstY(), curve.lastY()), std::max(curve.firstY(), curve.lastY()));
    };
    switch (axis) {
    case LensAxis::Zoom:
        return ends(m_zoom);
    case LensAxis::Iris:
        return ends(m_iris);
    case LensAxis::Focus:
        break;
    }
    const auto span = dioptreSpan(blendAt(zoomPosition));
    if (!span)
        return std::nullopt;
    return std::pair(1 / span->second, span->first == 0 ? infinity : 1 / span->first);
}

LensProfile::Target LensProfile::positionFor(LensAxis axis, const LensValue &value, double zoomPosition) const
{
    Target target;
    if (value.unit == LensValue::Unit::Counts) {
        target.position = int(std::lround(value.value));
        return target;
    }
    static constexpr LensValue::Unit units[lensAxisCount] = {LensValue::Unit::Millimetres, LensValue::Unit::Metres,
                                                             LensValue::Unit::FNumber};
    if (value.unit != units[int(axis)]) {
        target.problem = Target::Problem::WrongUnit;
        return target;
    }
    if (!hasTable(axis)) {
        target.problem = Target::Problem::NoTable;
        return target;
    }
    std::optional<double> position;
    switch (axis) {
    case LensAxis::Zoom:
        position = zoomForFocalLength(value.value);
        break;
    case LensAxis::Focus:
        position = focusForDistance(value.value, zoomPosition);
        break;
    case LensAxis::Iris:
        position = irisForFNumber(value.value);
        break;
    }
    if (!position) {
        target.problem = Target::Problem::OutOfRange;
        target.range = range(axis, zoomPosition).value_or(std::pair(0.0, 0.0));
        return target;
    }
    // Infinity is the end of the focus's travel, not a point on it: a count
    // short of that end would read as a far distance, so its count is taken
    // on the far side.
    if (axis == LensAxis::Focus && std::isinf(value.value)) {
        const Blend blend = blendAt(zoomPosition);
        const auto [farD, nearD] = *dioptreSpan(blend);
        const bool farIsHigher = positionAt(blend, farD) > positionAt(blend, nearD);
        target.position = int(farIsHigher ? std::ceil(*position) : std::floor(*position));
        return target;
    }
    target.position = int(std::lround(*position));
    return target;
}

QString LensProfile::problemText(LensAxis axis, const Target &target, const QLocale &locale)
{
    switch (target.problem) {
    case Target::Problem::None:
        return {};
    case Target::Problem::WrongUnit: {
        static const char *const texts[lensAxisCount] = {
            QT_TRANSLATE_NOOP("LensProfile", "the zoom takes counts or a focal length in mm"),
            QT_TRANSLATE_NOOP("LensProfile", "the focus takes counts or a distance in m"),
            QT_TRANSLATE_NOOP("LensProfile", "the iris takes counts or an f-number")};
        return translate(texts[int(axis)]);
    }
    case Target::Problem::NoTable: {
        static const char *const texts[lensAxisCount] = {
            QT_TRANSLATE_NOOP("LensProfile", "the profile has no focal lengths"),
            QT_TRANSLATE_NOOP("LensProfile", "the profile has no focus distances"),
            QT_TRANSLATE_NOOP("LensProfile", "the profile has no f-numbers")};
        return translate(texts[int(axis)]);
    }
    case Target::Problem::OutOfRange:
        break;
    }
    const double low = target.range.first;
    const double high = target.range.second;
    switch (axis) {
    case LensAxis::Zoom:
        return translate(outsideMm).arg(locale.toString(low, 'f', 2), locale.toString(high, 'f', 2));
    case LensAxis::Focus:
        // Where the locale is the program's own (the tool, the server), the
        // word a script can read back; in the window, the sign.
        return translate(outsideM).arg(locale.toString(low, 'f', 3),
                                       std::isinf(high) ? (locale == QLocale::c() ? QStringLiteral("inf") : QStringLiteral("\u221e"))
                                                        : locale.toString(high, 'f', 3));
    case LensAxis::Iris:
        break;
    }
    return translate(outsideF).arg(locale.toString(low, 'f', 2), locale.toString(high, 'f', 2));
}
