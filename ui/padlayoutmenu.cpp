#include "padlayoutmenu.h"

#include "gamepaddialog.h"
#include "helpmenu.h"
#include "padcapture.h"
#include "settingsfile.h"

#include <QAction>
#include <QSettings>

PadLayoutMenu::PadLayoutMenu(QWidget *window, QAction *action, QSettings &settings, HelpMenu &help)
    : QObject(window)
    , m_window(window)
    , m_action(action)
    , m_settings(settings)
    , m_help(help)
{
    m_action->setVisible(false);
    connect(m_action, &QAction::triggered, this, &PadLayoutMenu::layOut);
}

void PadLayoutMenu::setPad(PadCapture *pad)
{
    m_pad = pad;
    m_action->setVisible(pad);
    if (pad)
        m_help.setPadRows(pad->layout().controlList());
}

void PadLayoutMenu::layOut()
{
    auto *dialog = new GamepadDialog(m_pad->layout(), m_pad, m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        const PadLayout layout = dialog->layout();
        layout.write(m_settings);
        SettingsFile::writeBack(m_settings);
        m_pad->setLayout(layout);
        m_help.setPadRows(layout.controlList());
    });
    dialog->open();
}
