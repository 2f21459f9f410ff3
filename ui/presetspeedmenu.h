#ifndef PRESETSPEEDMENU_H
#define PRESETSPEEDMENU_H

#include "lensactions.h"

#include <QObject>

class QMenu;
class QPushButton;
class QSettings;
class QWidget;

// How each preset is called, chosen from a menu on its Call button (right
// click, the menu key or Shift+F10 on the focused button): at a speed, kept
// in the settings file as presets/speed1 … presets/speed10 (0 the panel's
// speeds, 1 Low, 2 Medium, 3 High), or in a recall time, kept as
// presets/seconds1 … presets/seconds10 (0.5 to 600; 0 for none). The two
// exclude each other: a time goes with the panel's speeds, and a speed
// chosen ends the time. A missing or unreadable speed is the panel's, and
// a missing or unreadable time, or one beside a speed of the preset's own,
// is none. The Call button's tool tip and accessible description say which.
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
    void addRecallTimes(QMenu *menu, int preset);
    // Asks for a recall time of the operator's own.
    void askSeconds(int preset);
    void choose(int preset, LensActions::PresetSpeed speed);
    // seconds 0: no recall time.
    void chooseSeconds(int preset, double seconds);
    void keep(int preset);
    void describe(int preset);
    // "5 s", "7,5 s" in the window's language.
    QString secondsText(double seconds) const;
    QPushButton *button(int preset) const;

    QWidget *m_window;
    LensActions &m_actions;
    QSettings &m_settings;
};

#endif // PRESETSPEEDMENU_H
