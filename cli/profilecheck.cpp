#include "profilecheck.h"

#include "lensprofile.h"

#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace {

QString metres(double value)
{
    return std::isinf(value) ? QStringLiteral("inf") : QString::number(value, 'f', 3) + QStringLiteral(" m");
}

QString millimetres(double value)
{
    return QString::number(value, 'f', 2);
}

QString fNumber(double value)
{
    return QStringLiteral("f/") + QString::number(value, 'f', 2);
}

// "LOW to HIGH[UNIT] over FIRST to LAST": the values a table covers, lowest
// first, and the positions it spans.
QString span(const std::vector<LensPoint> &points, QString (*format)(double), const char *unit = "")
{
    const auto [low, high] = std::minmax(points.front().value, points.back().value);
    return QStringLiteral("%1 to %2%3 over %4 to %5")
        .arg(format(low), format(high), QLatin1String(unit))
        .arg(points.front().position)
        .arg(points.back().position);
}

} // namespace

int ProfileCheck::run(const QStringList &words, QTextStream &out, QTextStream &err)
{
    if (words.size() != 2 || words.first().compare(QLatin1String("check"), Qt::CaseInsensitive) != 0) {
        err << "tavro-lensctl: profile takes check and a file (see --help)\n";
        return 2;
    }
    const LensProfile::Read read = LensProfile::readFile(words.at(1));
    if (!read.profile) {
        err << "tavro-lensctl: " << read.error << '\n';
        return 2;
    }
    const LensProfileData &data = read.profile->data();
    out << "name: " << data.name << '\n';
    out << "board: " << (data.board.isEmpty() ? QStringLiteral("any") : data.board) << '\n';
    out << "zoom: " << (data.zoom.empty() ? QStringLiteral("no table") : span(data.zoom, millimetres, " mm"))
        << '\n';
    if (data.focus.empty())
        out << "focus: no table\n";
    for (const FocusCurveData &curve : data.focus) {
        out << "focus: " << span(curve.points, metres);
        if (curve.zoom)
            out << " at zoom " << *curve.zoom;
        out << '\n';
    }
    out << "iris: " << (data.iris.empty() ? QStringLiteral("no table") : span(data.iris, fNumber)) << '\n';
    // The widest and the narrowest angle, at the two ends of the zoom table.
    const std::optional<double> wide =
        data.zoom.empty() ? std::nullopt : read.profile->horizontalFovDeg(data.zoom.front().position);
    const std::optional<double> narrow =
        data.zoom.empty() ? std::nullopt : read.profile->horizontalFovDeg(data.zoom.back().position);
    if (wide && narrow) {
        const auto [low, high] = std::minmax(*wide, *narrow);
        out << "angle: " << QString::number(low, 'f', 2) << " to " << QString::number(high, 'f', 2)
            << " deg horizontal\n";
    }
    return 0;
}
