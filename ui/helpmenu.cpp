#include "helpmenu.h"

#ifdef TAVRO_GAMEPAD
#include "gamepadpoller.h"
#endif
#include "keyboardcontrol.h"
#include "sliderinput.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

HelpMenu::HelpMenu(QWidget *window, QAction *keyboardControls, QAction *about)
    : m_window(window)
{
    connect(keyboardControls, &QAction::triggered, this, &HelpMenu::showKeyboardControls);
    connect(about, &QAction::triggered, this, &HelpMenu::showAbout);
}

void HelpMenu::setPadLayout(const PadLayout &layout)
{
    m_padLayout = layout;
}

QString HelpMenu::controlRows() const
{
    QString rows;
    const auto addRows = [&rows](const QString &heading, const QList<QPair<QString, QString>> &list) {
        rows += QStringLiteral("<tr><td colspan=\"2\"><h3>%1</h3></td></tr>").arg(heading.toHtmlEscaped());
        for (const auto &[keys, what] : list) {
            rows += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                        .arg(keys.toHtmlEscaped(), what.toHtmlEscaped());
        }
    };
    addRows(tr("Keyboard"), KeyboardControl::keyList() + SliderInput::keyList());
#ifdef TAVRO_GAMEPAD
    addRows(tr("Gamepad"), m_padLayout.controlList());
#else
    addRows(tr("Gamepad"), {{tr("None"), tr("This build has no gamepad support")}});
#endif
    return QStringLiteral("<table cellspacing=\"6\">%1</table>").arg(rows);
}

void HelpMenu::showKeyboardControls()
{
    if (!m_keyboardControls) {
        auto *dialog = new QDialog(m_window);
        dialog->setObjectName(QStringLiteral("keyboardControls"));
        dialog->setWindowTitle(tr("Keyboard and gamepad controls"));
        m_controlList = new QLabel(dialog);
        m_controlList->setTextFormat(Qt::RichText);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
        connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
        auto *layout = new QVBoxLayout(dialog);
        layout->addWidget(m_controlList);
        layout->addWidget(buttons);
        m_keyboardControls = dialog;
    }
    // The layout may have changed since the list was last shown.
    m_controlList->setText(controlRows());
    m_keyboardControls->show();
    m_keyboardControls->raise();
    m_keyboardControls->activateWindow();
}

void HelpMenu::showAbout()
{
    const QString name = QCoreApplication::applicationName();
#ifdef TAVRO_GAMEPAD
    const QString gamepads = tr("Gamepads through %1").arg(GamepadPoller::library());
#else
    const QString gamepads = tr("Built without gamepad support");
#endif
    QMessageBox::about(m_window, tr("About %1").arg(name),
                       tr("<p><b>%1</b></p><p>Version %2</p><p>Qt %3 (built with Qt %4)</p><p>%5</p>")
                           .arg(name.toHtmlEscaped(), QStringLiteral(TAVRO_VERSION), QString::fromLatin1(qVersion()),
                                QStringLiteral(QT_VERSION_STR), gamepads.toHtmlEscaped()));
}
