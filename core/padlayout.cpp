#include "padlayout.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSettings>

#include <algorithm>
#include <cmath>

namespace {

struct ControlName
{
    const char *name;
    const char *text;
    // An axis run the other way.
    const char *inverted;
};

// SDL's names, in SDL's order of axes and then buttons: config.ini keeps them
// as SDL writes them, so that a layout reads the same to both.
const ControlName kControls[padControlCount] = {
    {"leftx", QT_TRANSLATE_NOOP("PadLayout", "Left stick right / left"),
     QT_TRANSLATE_NOOP("PadLayout", "Left stick left / right")},
    {"lefty", QT_TRANSLATE_NOOP("PadLayout", "Left stick up / down"),
     QT_TRANSLATE_NOOP("PadLayout", "Left stick down / up")},
    {"rightx", QT_TRANSLATE_NOOP("PadLayout", "Right stick right / left"),
     QT_TRANSLATE_NOOP("PadLayout", "Right stick left / right")},
    {"righty", QT_TRANSLATE_NOOP("PadLayout", "Right stick up / down"),
     QT_TRANSLATE_NOOP("PadLayout", "Right stick down / up")},
    {"lefttrigger", QT_TRANSLATE_NOOP("PadLayout", "Left trigger"),
     QT_TRANSLATE_NOOP("PadLayout", "Left trigger, inverted")},
    {"righttrigger", QT_TRANSLATE_NOOP("PadLayout", "Right trigger"),
     QT_TRANSLATE_NOOP("PadLayout", "Right trigger, inverted")},
    {"a", QT_TRANSLATE_NOOP("PadLayout", "A"), nullptr},
    {"b", QT_TRANSLATE_NOOP("PadLayout", "B"), nullptr},
    {"x", QT_TRANSLATE_NOOP("PadLayout", "X"), nullptr},
    {"y", QT_TRANSLATE_NOOP("PadLayout", "Y"), nullptr},
    {"back", QT_TRANSLATE_NOOP("PadLayout", "Back"), nullptr},
    {"guide", QT_TRANSLATE_NOOP("PadLayout", "Guide"), nullptr},
    {"start", QT_TRANSLATE_NOOP("PadLayout", "Start (Menu)"), nullptr},
    {"leftstick", QT_TRANSLATE_NOOP("PadLayout", "Left stick pressed"), nullptr},
    {"rightstick", QT_TRANSLATE_NOOP("PadLayout", "Right stick pressed"), nullptr},
    {"leftshoulder", QT_TRANSLATE_NOOP("PadLayout", "Left shoulder"), nullptr},
    {"rightshoulder", QT_TRANSLATE_NOOP("PadLayout", "Right shoulder"), nullptr},
    {"dpup", QT_TRANSLATE_NOOP("PadLayout", "D-pad up"), nullptr},
    {"dpdown", QT_TRANSLATE_NOOP("PadLayout", "D-pad down"), nullptr},
    {"dpleft", QT_TRANSLATE_NOOP("PadLayout", "D-pad left"), nullptr},
    {"dpright", QT_TRANSLATE_NOOP("PadLayout", "D-pad right"), nullptr},
    {"misc1", QT_TRANSLATE_NOOP("PadLayout", "Share"), nullptr},
    {"paddle1", QT_TRANSLATE_NOOP("PadLayout", "Paddle 1"), nullptr},
    {"paddle2", QT_TRANSLATE_NOOP("PadLayout", "Paddle 2"), nullptr},
    {"paddle3", QT_TRANSLATE_NOOP("PadLayout", "Paddle 3"), nullptr},
    {"paddle4", QT_TRANSLATE_NOOP("PadLayout", "Paddle 4"), nullptr},
    {"touchpad", QT_TRANSLATE_NOOP("PadLayout", "Touchpad"), nullptr},
};

constexpr int kLeftY = 1;
constexpr int kRightY = 3;

struct ActionName
{
    const char *key;
    const char *text;
    const char *what;
    const char *defaultControl;
};

const ActionName kActions[padActionCount] = {
    {"zoom", QT_TRANSLATE_NOOP("PadLayout", "Zoom"),
     QT_TRANSLATE_NOOP("PadLayout", "Zoom tele / wide while pushed, the further the faster"), "lefty"},
    {"focus", QT_TRANSLATE_NOOP("PadLayout", "Focus"),
     QT_TRANSLATE_NOOP("PadLayout", "Focus far / near while pushed, the further the faster"), "righty"},
    {"iris", QT_TRANSLATE_NOOP("PadLayout", "Iris"),
     QT_TRANSLATE_NOOP("PadLayout", "Iris open / close while pushed"), nullptr},
    {"irisOpen", QT_TRANSLATE_NOOP("PadLayout", "Iris open"),
     QT_TRANSLATE_NOOP("PadLayout", "Iris open while held"), "rightshoulder"},
    {"irisClose", QT_TRANSLATE_NOOP("PadLayout", "Iris close"),
     QT_TRANSLATE_NOOP("PadLayout", "Iris close while held"), "leftshoulder"},
    {"zoomPlus", QT_TRANSLATE_NOOP("PadLayout", "Zoom +"), QT_TRANSLATE_NOOP("PadLayout", "Zoom +"), "dpup"},
    {"zoomMinus", QT_TRANSLATE_NOOP("PadLayout", "Zoom −"), QT_TRANSLATE_NOOP("PadLayout", "Zoom −"), "dpdown"},
    {"focusPlus", QT_TRANSLATE_NOOP("PadLayout", "Focus +"), QT_TRANSLATE_NOOP("PadLayout", "Focus +"), "dpright"},
    {"focusMinus", QT_TRANSLATE_NOOP("PadLayout", "Focus −"), QT_TRANSLATE_NOOP("PadLayout", "Focus −"), "dpleft"},
    {"preset1", nullptr, nullptr, "a"},
    {"preset2", nullptr, nullptr, "b"},
    {"preset3", nullptr, nullptr, "x"},
    {"preset4", nullptr, nullptr, "y"},
    {"preset5", nullptr, nullptr, nullptr},
    {"preset6", nullptr, nullptr, nullptr},
    {"preset7", nullptr, nullptr, nullptr},
    {"preset8", nullptr, nullptr, nullptr},
    {"preset9", nullptr, nullptr, nullptr},
    {"preset10", nullptr, nullptr, nullptr},
    {"refresh", QT_TRANSLATE_NOOP("PadLayout", "Refresh"), QT_TRANSLATE_NOOP("PadLayout", "Refresh"), "start"},
};

const QString kGroup = QStringLiteral("gamepad/");
const QString kNone = QStringLiteral("none");

QString translated(const char *text)
{
    return QCoreApplication::translate("PadLayout", text);
}

int presetOf(PadAction action)
{
    return int(action) - int(PadAction::Preset1) + 1;
}

bool isPreset(PadAction action)
{
    return action >= PadAction::Preset1 && action <= PadAction::Preset10;
}

// A whole number of per cent in [low, high]; a value that is no number is
// logged and gives fallback, one out of range is logged and brought into it.
int readPercent(const QSettings &settings, const QString &key, int fallback, int low, int high)
{
    if (!settings.contains(kGroup + key))
        return fallback;
    bool ok = false;
    const QString text = settings.value(kGroup + key).toString();
    const int value = text.trimmed().toInt(&ok);
    if (!ok) {
        qWarning().noquote() << "Gamepad layout:" << kGroup + key << "is no number:" << text << "- keeps" << fallback;
        return fallback;
    }
    const int kept = std::clamp(value, low, high);
    if (kept != value)
        qWarning().noquote() << "Gamepad layout:" << kGroup + key << value << "is out of" << low << "to" << high
                             << "- takes" << kept;
    return kept;
}

// Two keys that name one control: the later key, action's, has it; the
// earlier key's action takes none, and the file is told of once.
void dropEarlierKey(PadLayout &layout, const std::array<bool, padActionCount> &named, PadAction action, int control)
{
    for (int other = 0; other < padActionCount; ++other) {
        if (!named[other] || other == int(action) || control == noPadControl || layout.controls[other] != control)
            continue;
        qWarning().noquote() << "Gamepad layout:" << kGroup + padActionKey(PadAction(other)) << "names"
                             << padControlName(control) + QLatin1Char(',') << "as" << kGroup + padActionKey(action)
                             << "does - takes none";
        layout.controls[other] = noPadControl;
    }
}

} // namespace

QString padControlName(int control)
{
    return control >= 0 && control < padControlCount ? QString::fromLatin1(kControls[control].name) : kNone;
}

int padControlFromName(const QString &name)
{
    // Any case, as SDL reads them.
    for (int control = 0; control < padControlCount; ++control) {
        if (name.compare(QLatin1String(kControls[control].name), Qt::CaseInsensitive) == 0)
            return control;
    }
    return noPadControl;
}

QString padControlText(int control, bool inverted)
{
    if (control < 0 || control >= padControlCount)
        return QCoreApplication::translate("PadLayout", "None");
    const ControlName &names = kControls[control];
    return translated(inverted && names.inverted ? names.inverted : names.text);
}

bool padControlFits(PadAction action, int control)
{
    if (control == noPadControl)
        return true;
    if (control < 0 || control >= padControlCount)
        return false;
    return isPadRun(action) ? isPadAxis(control) : !isPadAxis(control) || isPadTrigger(control);
}

QString padActionKey(PadAction action)
{
    return QString::fromLatin1(kActions[int(action)].key);
}

QString padActionText(PadAction action)
{
    if (isPreset(action))
        return QCoreApplication::translate("PadLayout", "Call preset %1").arg(presetOf(action));
    return translated(kActions[int(action)].text);
}

PadLayout PadLayout::defaults()
{
    PadLayout layout;
    for (int action = 0; action < padActionCount; ++action) {
        const char *name = kActions[action].defaultControl;
        layout.controls[action] = name ? padControlFromName(QLatin1String(name)) : noPadControl;
    }
    return layout;
}

PadLayout PadLayout::read(const QSettings &settings)
{
    PadLayout layout = defaults();
    // The actions whose key named their control; the others hold theirs by
    // default, or as given them by a key read before.
    std::array<bool, padActionCount> named{};
    for (int index = 0; index < padActionCount; ++index) {
        const auto action = PadAction(index);
        const QString key = kGroup + padActionKey(action);
        if (settings.contains(key)) {
            const QString word = settings.value(key).toString().trimmed();
            const bool none = word.compare(kNone, Qt::CaseInsensitive) == 0;
            const int control = none ? noPadControl : padControlFromName(word);
            if ((control == noPadControl && !none) || !padControlFits(action, control)) {
                qWarning().noquote() << "Gamepad layout:" << key << "names no" << (isPadRun(action) ? "axis:" : "button:")
                                     << word << "- keeps" << padControlName(layout.controls[index]);
            } else {
                dropEarlierKey(layout, named, action, control);
                layout.take(action, control);
                named[index] = control != noPadControl;
            }
        }
        const QString invertedKey = key + QStringLiteral("Inverted");
        if (isPadRun(action) && settings.contains(invertedKey)) {
            const QString word = settings.value(invertedKey).toString().trimmed().toLower();
            if (word == QLatin1String("true") || word == QLatin1String("1"))
                layout.inverted[index] = true;
            else if (word != QLatin1String("false") && word != QLatin1String("0"))
                qWarning().noquote() << "Gamepad layout:" << invertedKey << "is neither true nor false:" << word
                                     << "- keeps false";
        }
    }
    layout.deadZone = readPercent(settings, QStringLiteral("deadZone"), layout.deadZone, minDeadZone, maxDeadZone);
    layout.mediumFrom = readPercent(settings, QStringLiteral("mediumSpeedFrom"), std::max(layout.mediumFrom, layout.deadZone),
                                    layout.deadZone, 100);
    layout.highFrom = readPercent(settings, QStringLiteral("highSpeedFrom"), std::max(layout.highFrom, layout.mediumFrom),
                                  layout.mediumFrom, 100);
    return layout;
}

void PadLayout::take(PadAction action, int control)
{
    const int previous = this->control(action);
    for (int other = 0; other < padActionCount; ++other) {
        if (other != int(action) && control != noPadControl && controls[other] == control)
            controls[other] = padControlFits(PadAction(other), previous) ? previous : noPadControl;
    }
    controls[int(action)] = control;
}

void PadLayout::write(QSettings &settings) const
{
    for (int index = 0; index < padActionCount; ++index) {
        const auto action = PadAction(index);
        settings.setValue(kGroup + padActionKey(action), padControlName(controls[index]));
        if (isPadRun(action))
            settings.setValue(kGroup + padActionKey(action) + QStringLiteral("Inverted"), bool(inverted[index]));
    }
    settings.setValue(kGroup + QStringLiteral("deadZone"), deadZone);
    settings.setValue(kGroup + QStringLiteral("mediumSpeedFrom"), mediumFrom);
    settings.setValue(kGroup + QStringLiteral("highSpeedFrom"), highFrom);
}

float PadLayout::deflection(PadAction action, const PadState &state) const
{
    const int axis = control(action);
    if (!isPadAxis(axis))
        return 0;
    // SDL counts a stick positive downwards; up is towards the maximum.
    const float value = axis == kLeftY || axis == kRightY ? -state[axis] : state[axis];
    return inverted[int(action)] ? -value : value;
}

bool PadLayout::isDown(PadAction action, const PadState &state) const
{
    const int button = control(action);
    return button >= 0 && button < padControlCount && state[button] > 0.5f;
}

int PadLayout::band(float deflection) const
{
    const float amount = std::abs(deflection) * 100;
    if (amount <= deadZone)
        return -1;
    return amount <= mediumFrom ? 0 : amount <= highFrom ? 1 : 2;
}

QList<QPair<QString, QString>> PadLayout::controlList() const
{
    QList<QPair<QString, QString>> list;
    for (int index = 0; index < padActionCount; ++index) {
        const auto action = PadAction(index);
        if (controls[index] == noPadControl)
            continue;
        const QString what = isPreset(action) ? padActionText(action) : translated(kActions[index].what);
        list.append({padControlText(controls[index], inverted[index]), what});
    }
    //: How the sticks drive: %1, %2 and %3 are percentages of their travel.
    list.append({QCoreApplication::translate("PadLayout", "Sticks"),
                 QCoreApplication::translate("PadLayout",
                                             "Rest within %1 % of their travel; low speed up to %2 %, medium up "
                                             "to %3 %, high beyond")
                     .arg(deadZone)
                     .arg(mediumFrom)
                     .arg(highFrom)});
    return list;
}

bool PadLayout::operator==(const PadLayout &other) const
{
    return controls == other.controls && inverted == other.inverted && deadZone == other.deadZone
        && mediumFrom == other.mediumFrom && highFrom == other.highFrom;
}
