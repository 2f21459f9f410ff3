#ifndef PRESETSPEEDMENU_H
#define PRESETSPEEDMENU_H

#include "lensactions.h"

#include <QObject>

class QPushButton;
class QSettings;
class QWidget;

// The speed each preset is called at, chosen from a menu on its Call button
// (right click, the menu key or Shift+F10 on the focused button) and kept in
// the settings file as presets/speed1 … presets/speed10: 0 the panel's
// speeds, 1 Low, 2 Medium, 3 High. A missing or unreadable value is the
// panel's speeds. The Call button's tool tip and accessible description say
// which.
class PresetSpeedMenu : public QObject
{
    Q_OBJECT

public:
    PresetSpeedMenu(QWidget *window, LensActions &actions, QSettings &settings);

    // The words of a speed, as the menu shows them.
    static QString speedName(LensActions::PresetSpeed speed);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void open(int preset, const QPoint &globalPosition);
    void choose(int preset, LensActions::PresetSpeed speed);
    void describe(int preset);
    QPushButton *button(int preset) const;

    QWidget *m_window;
    LensActions &m_actions;
    QSettings &m_settings;
};

#endif // PRESETSPEEDMENU_H
