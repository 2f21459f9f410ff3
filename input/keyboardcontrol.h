#ifndef KEYBOARDCONTROL_H
#define KEYBOARDCONTROL_H

#include "lensactions.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSet>
#include <QString>

class OperationMonitor;
class QKeyEvent;
class QWidget;

// The lens from the keyboard, for an operator who watches the picture rather
// than the window: hold Ctrl with an arrow or Page Up/Down to run a motor until
// the key is let go, F1 to F10 to call a preset, Shift with them to set one,
// Ctrl+R to refresh. The keys work while the window is active, whatever has
// the keyboard focus, and only where the button they stand for is enabled;
// the hold keys are the window's own even where they do nothing. Key
// auto-repeat does nothing more than the first press.
class KeyboardControl : public QObject
{
    Q_OBJECT

public:
    // A hold key let go ends its run this long after, unless pressed again
    // meanwhile: on X11 auto-repeat comes as a release and a press together,
    // which Qt does not always mark as repeats.
    static constexpr int repeatGraceMs = 30;

    KeyboardControl(QWidget *window, LensActions &actions, OperationMonitor &monitor);

    // Each key or group of keys with what it does, for the operator.
    static QList<QPair<QString, QString>> keyList();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool press(QObject *receiver, const QKeyEvent &key);
    // Whether key is one of the window's keys, acted on or not.
    static bool takes(const QKeyEvent &key);
    bool release(const QKeyEvent &key);
    // The key came down again: a release just before was a repeat's.
    bool repeated(int key);

    QWidget *m_window;
    LensActions &m_actions;
    // The window's keys down, and the motors some of them hold.
    QSet<int> m_down;
    QHash<int, LensActions::Motor> m_held;
    // Hold keys let go within the grace, each with the number of its release.
    QHash<int, quint64> m_letGo;
    quint64 m_releases = 0;
};

#endif // KEYBOARDCONTROL_H
