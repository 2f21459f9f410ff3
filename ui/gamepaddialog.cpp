#include "gamepaddialog.h"

#include "padcapture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QSpinBox *percentBox(QWidget *parent, const QString &name, const QString &objectName, int minimum)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(objectName);
    box->setRange(minimum, 100);
    box->setSuffix(QStringLiteral(" %"));
    box->setAccessibleName(name);
    return box;
}

} // namespace

GamepadDialog::GamepadDialog(const PadLayout &layout, PadCapture *capture, QWidget *parent)
    : QDialog(parent)
    , m_layout(layout)
    , m_capture(capture)
{
    setObjectName(QStringLiteral("gamepadDialog"));
    setWindowTitle(tr("Gamepad"));
    auto *intro = new QLabel(tr("Choose the pad control for each action, or click Bind and move or press it on "
                                "the pad."),
                             this);
    intro->setWordWrap(true);

    auto *grid = new QGridLayout;
    for (int index = 0; index < padActionCount; ++index) {
        const auto action = PadAction(index);
        const QString what = padActionText(action);
        const QString key = padActionKey(action);
        auto *label = new QLabel(what, this);
        auto *combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("cb_") + key);
        combo->setAccessibleName(tr("Pad control for %1").arg(what));
        label->setBuddy(combo);
        for (int control = noPadControl; control < padControlCount; ++control) {
            if (padControlFits(action, control))
                combo->addItem(padControlText(control), control);
        }
        connect(combo, &QComboBox::activated, this, [this, action, combo] {
            stopListening();
            m_message->clear();
            bind(action, combo->currentData().toInt());
        });
        auto *bindButton = new QPushButton(tr("Bind"), this);
        bindButton->setObjectName(QStringLiteral("pb_") + key);
        bindButton->setAccessibleName(tr("Bind %1 to the next pad control moved").arg(what));
        connect(bindButton, &QPushButton::clicked, this, [this, action] { listen(action); });
        grid->addWidget(label, index, 0);
        grid->addWidget(combo, index, 1);
        grid->addWidget(bindButton, index, 2);
        m_controls[index] = combo;
        m_bindButtons[index] = bindButton;
        if (isPadRun(action)) {
            auto *inverted = new QCheckBox(tr("Inverted"), this);
            inverted->setObjectName(QStringLiteral("cb_") + key + QStringLiteral("Inverted"));
            inverted->setAccessibleName(tr("%1 inverted").arg(what));
            connect(inverted, &QCheckBox::toggled, this, [this, index](bool on) { m_layout.inverted[index] = on; });
            grid->addWidget(inverted, index, 3);
            m_inverted[index] = inverted;
        }
    }

    m_deadZone = percentBox(this, tr("Dead zone"), QStringLiteral("sb_deadZone"), PadLayout::minDeadZone);
    m_deadZone->setMaximum(PadLayout::maxDeadZone);
    m_mediumFrom = percentBox(this, tr("Medium speed from"), QStringLiteral("sb_mediumSpeedFrom"), PadLayout::minDeadZone);
    m_highFrom = percentBox(this, tr("High speed from"), QStringLiteral("sb_highSpeedFrom"), PadLayout::minDeadZone);
    // Each edge lies at or beyond the one before it.
    connect(m_deadZone, &QSpinBox::valueChanged, this, [this](int value) {
        m_layout.deadZone = value;
        m_mediumFrom->setMinimum(value);
    });
    connect(m_mediumFrom, &QSpinBox::valueChanged, this, [this](int value) {
        m_layout.mediumFrom = value;
        m_highFrom->setMinimum(value);
    });
    connect(m_highFrom, &QSpinBox::valueChanged, this, [this](int value) { m_layout.highFrom = value; });
    auto *edges = new QFormLayout;
    edges->addRow(tr("Dead zone:"), m_deadZone);
    edges->addRow(tr("Medium speed from:"), m_mediumFrom);
    edges->addRow(tr("High speed from:"), m_highFrom);

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("lbl_gamepadMessage"));
    m_message->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel
                                             | QDialogButtonBox::RestoreDefaults,
                                         this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Qt's own German for this button is the window's word for its presets.
    buttons->button(QDialogButtonBox::RestoreDefaults)->setText(tr("Restore Defaults"));
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this, [this] {
        stopListening();
        m_layout = PadLayout::defaults();
        showLayout();
    });

    auto *layoutBox = new QVBoxLayout(this);
    layoutBox->addWidget(intro);
    layoutBox->addLayout(grid);
    layoutBox->addLayout(edges);
    layoutBox->addWidget(m_message);
    layoutBox->addWidget(buttons);
    showLayout();
}

GamepadDialog::~GamepadDialog()
{
    stopListening();
}

void GamepadDialog::done(int result)
{
    stopListening();
    QDialog::done(result);
}

void GamepadDialog::bind(PadAction action, int control)
{
    m_layout.take(action, control);
    showLayout();
}

void GamepadDialog::listen(PadAction action)
{
    const bool again = m_listening == int(action);
    stopListening();
    if (again)
        return;
    if (!m_capture || !m_capture->isPadConnected()) {
        m_message->setText(tr("No gamepad is connected: choose the control from the list."));
        return;
    }
    m_listening = int(action);
    m_bindButtons[int(action)]->setText(tr("Move or press…"));
    m_message->setText(isPadRun(action) ? tr("Move the stick or trigger for %1; click again to keep the control.")
                                                  .arg(padActionText(action))
                                        : tr("Press the button or trigger for %1; click again to keep the control.")
                                                  .arg(padActionText(action)));
    m_capture->captureNext(isPadRun(action), [this, action](int control) {
        m_bindButtons[int(action)]->setText(tr("Bind"));
        m_listening = -1;
        if (control == noPadControl) {
            m_message->setText(tr("The gamepad went: choose the control from the list."));
            return;
        }
        bind(action, control);
        //: An action and the pad control just bound to it.
        m_message->setText(tr("%1: %2").arg(padActionText(action), padControlText(control)));
    });
}

void GamepadDialog::stopListening()
{
    if (m_listening < 0)
        return;
    m_bindButtons[m_listening]->setText(tr("Bind"));
    m_listening = -1;
    m_message->clear();
    if (m_capture)
        m_capture->cancelCapture();
}

void GamepadDialog::showLayout()
{
    for (int index = 0; index < padActionCount; ++index) {
        const QSignalBlocker blocker(m_controls[index]);
        m_controls[index]->setCurrentIndex(m_controls[index]->findData(m_layout.controls[index]));
        if (m_inverted[index])
            m_inverted[index]->setChecked(m_layout.inverted[index]);
    }
    // The edges one by one, each within the range the one before leaves it.
    const PadLayout layout = m_layout;
    m_deadZone->setValue(layout.deadZone);
    m_mediumFrom->setMinimum(layout.deadZone);
    m_mediumFrom->setValue(layout.mediumFrom);
    m_highFrom->setMinimum(layout.mediumFrom);
    m_highFrom->setValue(layout.highFrom);
}
