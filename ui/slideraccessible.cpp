#include "slideraccessible.h"

#include <QSlider>

namespace {

QAccessibleInterface *sliderInterface(const QString &className, QObject *object)
{
    auto *slider = qobject_cast<QSlider *>(object);
    return className == QLatin1String("QSlider") && slider ? new SliderAccessible(slider) : nullptr;
}

} // namespace

SliderAccessible::SliderAccessible(QSlider *slider)
    : QAccessibleWidget(slider, QAccessible::Slider)
{
    // A new range (the lens profile's limits) is news to a screen reader
    // even where the value stays: it reads the value and the range again.
    QObject::connect(slider, &QAbstractSlider::rangeChanged, slider, [slider] {
        QAccessibleValueChangeEvent event(slider, slider->value());
        QAccessible::updateAccessibility(&event);
    });
}

void SliderAccessible::install()
{
    // Installed once however often asked; ahead of Qt's own for sliders.
    QAccessible::installFactory(sliderInterface);
}

void *SliderAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString SliderAccessible::text(QAccessible::Text text) const
{
    if (text == QAccessible::Value)
        return QString::number(slider()->value());
    return QAccessibleWidget::text(text);
}

QVariant SliderAccessible::currentValue() const
{
    return slider()->value();
}

void SliderAccessible::setCurrentValue(const QVariant &value)
{
    if (slider()->isEnabled())
        slider()->setSliderPosition(value.toInt());
}

QVariant SliderAccessible::maximumValue() const
{
    return slider()->maximum();
}

QVariant SliderAccessible::minimumValue() const
{
    return slider()->minimum();
}

QVariant SliderAccessible::minimumStepSize() const
{
    return slider()->singleStep();
}

QSlider *SliderAccessible::slider() const
{
    return static_cast<QSlider *>(widget());
}
