#include "lensvalue.h"

#include <QLocale>

std::optional<LensValue> LensValue::parse(const QString &, const QLocale &)
{
    return std::nullopt;
}
