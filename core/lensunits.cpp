#include "lensunits.h"

#include <QLocale>

#include <cmath>

LensUnits::LensUnits(QObject *parent)
    : QObject(parent)
{
}

void LensUnits::setProfile(std::optional<LensProfile> profile)
{
    m_profile = profile ? std::make_shared<const LensProfile>(std::move(*profile)) : nullptr;
    emit profileChanged();
    emit changed();
}

void LensUnits::setPosition(LensAxis axis, int counts)
{
    if (std::exchange(m_positions[size_t(axis)], counts) != counts)
        emit changed();
}

std::optional<int> LensUnits::focusZoom() const
{
    if (m_profile && m_profile->data().focus.size() <= 1)
        return position(LensAxis::Zoom).value_or(0);
    return position(LensAxis::Zoom);
}

std::optional<double> LensUnits::value(LensAxis axis) const
{
    const std::optional<int> at = position(axis);
    if (!m_profile || !at)
        return std::nullopt;
    switch (axis) {
    case LensAxis::Zoom:
        return m_profile->focalLengthMm(*at);
    case LensAxis::Focus:
        if (const std::optional<int> zoom = focusZoom())
            return m_profile->focusDistanceM(*at, *zoom);
        return std::nullopt;
    case LensAxis::Iris:
        break;
    }
    return m_profile->fNumber(*at);
}

std::optional<double> LensUnits::horizontalFovDeg() const
{
    const std::optional<int> zoom = position(LensAxis::Zoom);
    return m_profile && zoom ? m_profile->horizontalFovDeg(*zoom) : std::nullopt;
}

QString LensUnits::text(LensAxis axis, double value, const QLocale &locale)
{
    switch (axis) {
    case LensAxis::Zoom:
        return locale.toString(value, 'f', 1) + QStringLiteral(" mm");
    case LensAxis::Focus:
        return std::isinf(value) ? QStringLiteral("∞") : locale.toString(value, 'f', 2) + QStringLiteral(" m");
    case LensAxis::Iris:
        break;
    }
    return QStringLiteral("f/") + locale.toString(value, 'f', 1);
}

LensUnits::Target LensUnits::target(LensAxis axis, const LensValue &value) const
{
    if (!m_profile)
        return {std::nullopt, tr("no lens profile is in use (Lens ▸ Profile…)")};
    const std::optional<int> zoom = axis == LensAxis::Focus ? focusZoom() : std::optional<int>(0);
    if (!zoom)
        return {std::nullopt, tr("the zoom position is not known")};
    const LensProfile::Target target = m_profile->positionFor(axis, value, *zoom);
    if (!target.position)
        return {std::nullopt, LensProfile::problemText(axis, target, QLocale())};
    return {target.position, QString()};
}
