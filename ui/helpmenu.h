#ifndef HELPMENU_H
#define HELPMENU_H

#include "controlhelp.h"

#include <QObject>
#include <QPointer>

class QAction;
class QDialog;
class QWidget;

// The Help menu: the list of every key and gamepad control the window answers
// to, and what the program is.
class HelpMenu : public QObject
{
    Q_OBJECT

public:
    HelpMenu(QWidget *window, QAction *keyboardControls, QAction *about, ControlHelp help);

private:
    void showKeyboardControls();
    void showAbout();

    QWidget *m_window;
    const ControlHelp m_help;
    // Made when first asked for; it may stay open beside the window.
    QPointer<QDialog> m_keyboardControls;
};

#endif // HELPMENU_H
