#ifndef SLIDERINPUT_H
#define SLIDERINPUT_H

#include "lensactions.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QSet>
#include <QString>
#include <QTimer>

class OperationMonitor;
class QSlider;
class QWheelEvent;

// A motor's slider moved by the keyboard (arrows, Page Up/Down, Home/End), the
// mouse wheel or a click on its groove: the position shown goes out once the
// movement has settled, the same way as at a handle release, so the slider
// never shows a place the lens was not sent to. A step is a hundredth of the
// range (at least 1), a page ten steps, one wheel notch one step. Handle drags
// go out at their release as before, and values the program sets send
// nothing.
class SliderInput : public QObject
{
    Q_OBJECT

public:
    // Quiet this long after the last step, with no key or button held on the
    // slider, the movement has settled.
    static constexpr int settleMs = 300;

    SliderInput(LensActions &actions, LensActions::Motor motor, OperationMonitor &monitor);

    // Each key or group of keys with what it does, for the operator.
    static QList<QPair<QString, QString>> keyList();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setSteps();
    void moved();
    void settle();
    // A key or mouse button let go on the slider, or the slider lost them.
    void letGo();
    void wheel(const QWheelEvent &wheel);
    // Follows what is held down on the slider; true when the event was a
    // release of something held.
    bool track(const QEvent &event);

    LensActions &m_actions;
    const LensActions::Motor m_motor;
    QSlider *m_slider;
    QTimer m_settle;
    // A move is waiting to go out.
    bool m_pending = false;
    QSet<int> m_keysDown;
    bool m_buttonDown = false;
    // Wheel rotation not yet worth a step, in eighths of a degree.
    int m_wheelRest = 0;
};

#endif // SLIDERINPUT_H
