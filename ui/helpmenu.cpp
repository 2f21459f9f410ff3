#include "helpmenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

HelpMenu::HelpMenu(QWidget *window, QAction *keyboardControls, QAction *about, ControlHelp help)
    : m_window(window)
    , m_help(std::move(help))
{
    connect(keyboardControls, &QAction::triggered, this, &HelpMenu::showKeyboardControls);
    connect(about, &QAction::triggered, this, &HelpMenu::showAbout);
}

void HelpMenu::setPadRows(const QList<QPair<QString, QString>> &rows)
{
    if (m_help.padTable >= 0)
        m_help.tables[m_help.padTable].rows = rows;
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
    for (const ControlHelp::Table &table : m_help.tables)
        addRows(table.heading, table.rows);
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
        // Takes the focus, so that a screen reader can go through the list
        // row by row from the keyboard.
        m_controlList->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
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
    const QString gamepads = m_help.gamepadSupport ? m_help.gamepadSupport() : QString();
    //: %1 is the program's name.
    auto *box = new QMessageBox(QMessageBox::Information, tr("About %1").arg(name),
                                //: The program's name, its version, the Qt it runs on and the one it was built with, the gamepad line.
                                tr("<p><b>%1</b></p><p>Version %2</p><p>Qt %3 (built with Qt %4)</p><p>%5</p>")
                                    .arg(name.toHtmlEscaped(), QStringLiteral(TAVRO_VERSION),
                                         QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR),
                                         gamepads.toHtmlEscaped()),
                                QMessageBox::Ok, m_window);
    // Opened over the window, not run in an event loop of its own.
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (!m_window->windowIcon().isNull())
        box->setIconPixmap(m_window->windowIcon().pixmap(64));
    box->open();
}
