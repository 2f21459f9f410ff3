#include "lensunitlabels.h"

#include "lensunits.h"

#include <QLabel>
#include <QLocale>

#include <cmath>

namespace {

// What a screen reader says: the quantity, then the value with its unit in
// words.
struct Spoken
{
    const char *name;
    const char *withValue;
};

const Spoken kSpoken[] = {
    {QT_TRANSLATE_NOOP("LensUnitLabels", "Zoom focal length"),
     QT_TRANSLATE_NOOP("LensUnitLabels", "Zoom focal length %1 millimetres")},
    {QT_TRANSLATE_NOOP("LensUnitLabels", "Focus distance"), QT_TRANSLATE_NOOP("LensUnitLabels", "Focus distance %1 metres")},
    {QT_TRANSLATE_NOOP("LensUnitLabels", "Iris f-number"), QT_TRANSLATE_NOOP("LensUnitLabels", "Iris f-number %1")},
};

} // namespace

LensUnitLabels::LensUnitLabels(const LensUnits &units, const std::array<QLabel *, 3> &motors, QLabel *angle)
    : QObject(angle)
    , m_units(units)
    , m_motors(motors)
    , m_angle(angle)
{
    connect(&units, &LensUnits::changed, this, &LensUnitLabels::update);
    update();
}

void LensUnitLabels::update()
{
    const QLocale locale = m_angle->locale();
    for (const LensAxis axis : {LensAxis::Zoom, LensAxis::Focus, LensAxis::Iris}) {
        QLabel *label = m_motors[size_t(axis)];
        const Spoken &spoken = kSpoken[size_t(axis)];
        const std::optional<double> value = m_units.value(axis);
        label->setText(value ? LensUnits::text(axis, *value, locale) : QString());
        QString name = tr(spoken.name);
        if (value && axis == LensAxis::Focus && std::isinf(*value))
            name = tr("Focus distance infinity");
        else if (value)
            name = tr(spoken.withValue).arg(locale.toString(*value, 'f', axis == LensAxis::Focus ? 2 : 1));
        label->setAccessibleName(name);
    }
    const std::optional<double> angle = m_units.horizontalFovDeg();
    m_angle->setText(angle ? tr("HFOV %1°").arg(locale.toString(*angle, 'f', 1)) : QString());
    m_angle->setAccessibleName(angle ? tr("Horizontal angle of view %1 degrees").arg(locale.toString(*angle, 'f', 1))
                                     : tr("Horizontal angle of view"));
    m_angle->setVisible(angle.has_value());
}
