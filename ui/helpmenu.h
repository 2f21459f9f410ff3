#ifndef HELPMENU_H
#define HELPMENU_H

#include "padlayout.h"

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
    HelpMenu(QWidget *window, QAction *keyboardControls, QAction *about);

    // The pad's layout in use, which the list shows from its next showing.
    void setPadLayout(const PadLayout &layout);

private:
    void showKeyboardControls();
    void showAbout();
    QString controlRows() const;

    QWidget *m_window;
    // Made when first asked for; it may stay open beside the window.
    QPointer<QDialog> m_keyboardControls;
    QLabel *m_controlList = nullptr;
    PadLayout m_padLayout = PadLayout::defaults();
};

#endif // HELPMENU_H
