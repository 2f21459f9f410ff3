#ifndef SLIDERACCESSIBLE_H
#define SLIDERACCESSIBLE_H

#include <QAccessibleWidget>

class QSlider;

// A slider as a screen reader sees it: its value, range and step. A value set
// through the accessibility interface moves the handle the way the operator's
// keys do, through the slider's move action, so the window sends it on to the
// board like any move of the operator's. Set as the program sets a position
// it shows, it would send nothing, and the window would show a place the lens
// was never sent to. A disabled slider takes no value. A new range is
// announced as a change of value, so that it is read again.
class SliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit SliderAccessible(QSlider *slider);

    // Every slider made from now on answers through this interface.
    static void install();

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text text) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    QSlider *slider() const;
};

#endif // SLIDERACCESSIBLE_H
