#ifndef PADLAYOUTMENU_H
#define PADLAYOUTMENU_H

#include <QObject>

class HelpMenu;
class PadCapture;
class QAction;
class QSettings;
class QWidget;

// View ▸ Gamepad…: the pad laid out anew in its dialog, kept in config.ini,
// put to use at once and listed by Help. Without a pad to lay out the entry
// is hidden.
class PadLayoutMenu : public QObject
{
    Q_OBJECT

public:
    PadLayoutMenu(QWidget *window, QAction *action, QSettings &settings, HelpMenu &help);

    void setPad(PadCapture *pad);

private:
    void layOut();

    QWidget *m_window;
    QAction *m_action;
    QSettings &m_settings;
    HelpMenu &m_help;
    PadCapture *m_pad = nullptr;
};

#endif // PADLAYOUTMENU_H
