#include "presetspeedmenu.h"

#include "settingsfile.h"

#include <QActionGroup>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QWidget>

namespace {

using PresetSpeed = LensActions::PresetSpeed;

constexpr PresetSpeed kSpeeds[] = {PresetSpeed::Panel, PresetSpeed::Low, PresetSpeed::Medium, PresetSpeed::High};

QString speedKey(int preset)
{
    return QStringLiteral("presets/speed%1").arg(preset);
}

// Anything but a number of the four is the panel's speeds: a preset must
// never be recalled at a speed nobody chose.
PresetSpeed storedSpeed(const QSettings &settings, int preset)
{
    bool ok = false;
    const int stored = settings.value(speedKey(preset)).toInt(&ok);
    if (!ok || stored < int(PresetSpeed::Panel) || stored > int(PresetSpeed::High))
        return PresetSpeed::Panel;
    return PresetSpeed(stored);
}

} // namespace

PresetSpeedMenu::PresetSpeedMenu(QWidget *window, LensActions &actions, QSettings &settings)
    : m_window(window)
    , m_actions(actions)
    , m_settings(settings)
{
    for (int preset = 1; preset <= LensActions::presetCount; ++preset) {
        QPushButton *call = button(preset);
        if (!call)
            continue;
        m_actions.setPresetSpeed(preset, storedSpeed(m_settings, preset));
        call->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(call, &QWidget::customContextMenuRequested, this,
                [this, call, preset](const QPoint &position) { open(preset, call->mapToGlobal(position)); });
        call->installEventFilter(this);
        describe(preset);
    }
}

QString PresetSpeedMenu::speedName(PresetSpeed speed)
{
    switch (speed) {
    case PresetSpeed::Low:
        return tr("Low");
    case PresetSpeed::Medium:
        return tr("Medium");
    case PresetSpeed::High:
        return tr("High");
    case PresetSpeed::Panel:
        break;
    }
    //: A preset called at the Zoom speed and Focus speed of the settings panel.
    return tr("Panel speed");
}

// The menu key and Shift+F10 open the menu below the focused button, where
// a right click would open it at the pointer.
bool PresetSpeedMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const bool menuKey = (key->key() == Qt::Key_Menu && modifiers == Qt::NoModifier)
        || (key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
    for (int preset = 1; menuKey && preset <= LensActions::presetCount; ++preset) {
        QPushButton *call = button(preset);
        if (call == watched) {
            open(preset, call->mapToGlobal(call->rect().bottomLeft()));
            return true;
        }
    }
    return false;
}

void PresetSpeedMenu::open(int preset, const QPoint &globalPosition)
{
    QPushButton *call = button(preset);
    // One menu at a time: the menu key may also come as the system's own
    // context-menu request.
    if (!call || !call->isEnabled() || call->findChild<QMenu *>())
        return;
    auto *menu = new QMenu(call);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setAccessibleName(tr("Speed of preset %1").arg(preset));
    auto *group = new QActionGroup(menu);
    for (const PresetSpeed speed : kSpeeds) {
        QAction *action = menu->addAction(speedName(speed));
        action->setCheckable(true);
        action->setChecked(speed == m_actions.presetSpeed(preset));
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, preset, speed] { choose(preset, speed); });
    }
    menu->popup(globalPosition);
}

void PresetSpeedMenu::choose(int preset, PresetSpeed speed)
{
    m_actions.setPresetSpeed(preset, speed);
    m_settings.setValue(speedKey(preset), int(speed));
    SettingsFile::writeBack(m_settings);
    describe(preset);
}

void PresetSpeedMenu::describe(int preset)
{
    QPushButton *call = button(preset);
    const QString speed = speedName(m_actions.presetSpeed(preset));
    call->setToolTip(tr("Moves the lens to preset %1 at: %2. Right click, the menu key or Shift+F10 choose the speed.")
                         .arg(preset)
                         .arg(speed));
    call->setAccessibleDescription(tr("Preset %1 speed: %2").arg(preset).arg(speed));
}

QPushButton *PresetSpeedMenu::button(int preset) const
{
    return m_window->findChild<QPushButton *>(QStringLiteral("pb_callPreset%1").arg(preset));
}
