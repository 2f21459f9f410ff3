#include "lensvalue.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {

// A number above 0 in the locale's writing, spaces around it allowed.
std::optional<double> positiveNumber(const QString &text, const QLocale &locale)
{
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value) || value <= 0)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<LensValue> LensValue::parse(const QString &text, const QLocale &locale)
{
    const QString word = text.trimmed().toLower();
    if (word.isEmpty())
        return std::nullopt;
    const auto isInfinity = [](QString rest) {
        if (rest.endsWith(QLatin1Char('m')))
            rest.chop(1);
        rest = rest.trimmed();
        return rest == QLatin1String("inf") || rest == QStringLiteral("\u221e");
    };
    if (isInfinity(word))
        return LensValue{Unit::Metres, std::numeric_limits<double>::infinity()};
    if (word.startsWith(QLatin1Char('f'))) {
        QString rest = word.mid(1);
        if (rest.startsWith(QLatin1Char('/')))
            rest = rest.mid(1);
        if (const auto f = positiveNumber(rest, locale))
            return LensValue{Unit::FNumber, *f};
        return std::nullopt;
    }
    if (word.endsWith(QLatin1String("mm"))) {
        if (const auto mm = positiveNumber(word.chopped(2), locale))
            return LensValue{Unit::Millimetres, *mm};
        return std::nullopt;
    }
    if (word.endsWith(QLatin1Char('m'))) {
        if (const auto m = positiveNumber(word.chopped(1), locale))
            return LensValue{Unit::Metres, *m};
        return std::nullopt;
    }
    // Counts are written in digits alone, as the board takes them.
    bool ok = false;
    const int counts = word.toInt(&ok);
    if (!ok || counts < 0 || word.startsWith(QLatin1Char('+')))
        return std::nullopt;
    return LensValue{Unit::Counts, double(counts)};
}
