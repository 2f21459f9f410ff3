#include "presetspeedmenu.h"

#include "settingsfile.h"

#include <QActionGroup>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QWidget>

namespace {

using PresetSpeed = LensActions::PresetSpeed;

constexpr PresetSpeed kSpeeds[] = {PresetSpeed::Panel, PresetSpeed::Low, PresetSpeed::Medium, PresetSpeed::High};

// The recall times the menu offers; Custom… asks for any other within the
// range.
constexpr double kRecallTimes[] = {2, 5, 10};
constexpr double kShortestSeconds = 0.5;
constexpr double kLongestSeconds = 600;

QString speedKey(int preset)
{
    return QStringLiteral("presets/speed%1").arg(preset);
}

QString secondsKey(int preset)
{
    return QStringLiteral("presets/seconds%1").arg(preset);
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

// Anything but a time within the range, or a time beside a speed of the
// preset's own, is none: a preset must never take a time nobody chose.
double storedSeconds(const QSettings &settings, int preset)
{
    bool ok = false;
    const double stored = settings.value(secondsKey(preset)).toDouble(&ok);
    if (!ok || !(stored >= kShortestSeconds && stored <= kLongestSeconds)
        || storedSpeed(settings, preset) != PresetSpeed::Panel)
        return 0;
    return stored;
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
        m_actions.setPresetSeconds(preset, storedSeconds(m_settings, preset));
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
    menu->setAccessibleName(tr("Speed and recall time of preset %1").arg(preset));
    auto *group = new QActionGroup(menu);
    for (const PresetSpeed speed : kSpeeds) {
        QAction *action = menu->addAction(speedName(speed));
        action->setCheckable(true);
        action->setChecked(speed == m_actions.presetSpeed(preset));
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, preset, speed] { choose(preset, speed); });
    }
    menu->addSeparator();
    addRecallTimes(menu, preset);
    menu->popup(globalPosition);
}

void PresetSpeedMenu::addRecallTimes(QMenu *menu, int preset)
{
    const double current = m_actions.presetSeconds(preset);
    QMenu *times = menu->addMenu(tr("Recall time"));
    times->setAccessibleName(tr("Recall time of preset %1").arg(preset));
    auto *group = new QActionGroup(times);
    const auto add = [this, times, group](const QString &text, bool checked) {
        QAction *action = times->addAction(text);
        action->setCheckable(true);
        action->setChecked(checked);
        group->addAction(action);
        return action;
    };
    //: No recall time: the preset is called at its speed.
    connect(add(tr("Off"), current == 0), &QAction::triggered, this, [this, preset] { chooseSeconds(preset, 0); });
    bool offered = current == 0;
    for (const double seconds : kRecallTimes) {
        offered = offered || current == seconds;
        connect(add(secondsText(seconds), current == seconds), &QAction::triggered, this,
                [this, preset, seconds] { chooseSeconds(preset, seconds); });
    }
    const QString custom = offered ? tr("Custom…") : tr("Custom (%1)…").arg(secondsText(current));
    connect(add(custom, !offered), &QAction::triggered, this, [this, preset] { askSeconds(preset); });
}

void PresetSpeedMenu::askSeconds(int preset)
{
    auto *dialog = new QInputDialog(m_window);
    dialog->setObjectName(QStringLiteral("presetSecondsDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setInputMode(QInputDialog::DoubleInput);
    dialog->setWindowTitle(tr("Recall time of preset %1").arg(preset));
    dialog->setLabelText(tr("Seconds in which every motor arrives at preset %1 (%2 to %3):")
                             .arg(preset)
                             .arg(m_window->locale().toString(kShortestSeconds))
                             .arg(m_window->locale().toString(kLongestSeconds)));
    dialog->setDoubleRange(kShortestSeconds, kLongestSeconds);
    dialog->setDoubleDecimals(1);
    const double current = m_actions.presetSeconds(preset);
    dialog->setDoubleValue(current > 0 ? current : kRecallTimes[1]);
    connect(dialog, &QInputDialog::doubleValueSelected, this,
            [this, preset](double seconds) { chooseSeconds(preset, seconds); });
    dialog->open();
}

void PresetSpeedMenu::choose(int preset, PresetSpeed speed)
{
    m_actions.setPresetSpeed(preset, speed);
    m_actions.setPresetSeconds(preset, 0);
    keep(preset);
}

void PresetSpeedMenu::chooseSeconds(int preset, double seconds)
{
    if (seconds > 0)
        m_actions.setPresetSpeed(preset, PresetSpeed::Panel);
    m_actions.setPresetSeconds(preset, seconds);
    keep(preset);
}

void PresetSpeedMenu::keep(int preset)
{
    m_settings.setValue(speedKey(preset), int(m_actions.presetSpeed(preset)));
    m_settings.setValue(secondsKey(preset), m_actions.presetSeconds(preset));
    SettingsFile::writeBack(m_settings);
    describe(preset);
}

void PresetSpeedMenu::describe(int preset)
{
    QPushButton *call = button(preset);
    const double seconds = m_actions.presetSeconds(preset);
    if (seconds > 0) {
        call->setToolTip(tr("Moves the lens to preset %1 in %2, every motor arriving together. Right click, the "
                            "menu key or Shift+F10 choose the speed or the recall time.")
                             .arg(preset)
                             .arg(secondsText(seconds)));
        call->setAccessibleDescription(tr("Preset %1 recall time: %2").arg(preset).arg(secondsText(seconds)));
        return;
    }
    const QString speed = speedName(m_actions.presetSpeed(preset));
    call->setToolTip(tr("Moves the lens to preset %1 at: %2. Right click, the menu key or Shift+F10 choose the "
                        "speed or the recall time.")
                         .arg(preset)
                         .arg(speed));
    call->setAccessibleDescription(tr("Preset %1 speed: %2").arg(preset).arg(speed));
}

QString PresetSpeedMenu::secondsText(double seconds) const
{
    //: A recall time in seconds.
    return tr("%1 s").arg(m_window->locale().toString(seconds));
}

QPushButton *PresetSpeedMenu::button(int preset) const
{
    return m_window->findChild<QPushButton *>(QStringLiteral("pb_callPreset%1").arg(preset));
}
