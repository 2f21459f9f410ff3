#ifndef HELPMENU_H
#define HELPMENU_H

#include "controlhelp.h"

#include <QObject>
#include <QPointer>

class QAction;
class QDialog;
class QLabel;
class QWidget;

// The Help menu: the list of every key and gamepad control the window answers
// to, and what the program is.
class HelpMenu : public QObject
{
    Q_OBJECT

public:
    HelpMenu(QWidget *window, QAction *keyboardControls, QAction *about, ControlHelp help);

    // The pad's controls as laid out now, which the list shows from its next
    // showing.
    void setPadRows(const QList<QPair<QString, QString>> &rows);

private:
    void showKeyboardControls();
    void showAbout();
    QString controlRows() const;

    QWidget *m_window;
    ControlHelp m_help;
    // Made when first asked for; it may stay open beside the window.
    QPointer<QDialog> m_keyboardControls;
    QLabel *m_controlList = nullptr;
};

#endif // HELPMENU_H
