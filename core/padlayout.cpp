#include "padlayout.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSettings>

#include <algorithm>
#include <cmath>

namespace {

#define PAD_TEXT(text) QT_TRANSLATE_NOOP("PadLayout", text)

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
    {"leftx", PAD_TEXT("Left stick right / left"), PAD_TEXT("Left stick left / right")},
    {"lefty", PAD_TEXT("Left stick up / down"), PAD_TEXT("Left stick down / up")},
    {"rightx", PAD_TEXT("Right stick right / left"), PAD_TEXT("Right stick left / right")},
    {"righty", PAD_TEXT("Right stick up / down"), PAD_TEXT("Right stick down / up")},
    {"lefttrigger", PAD_TEXT("Left trigger"), PAD_TEXT("Left trigger, inverted")},
    {"righttrigger", PAD_TEXT("Right trigger"), PAD_TEXT("Right trigger, inverted")},
    {"a", PAD_TEXT("A"), nullptr},
    {"b", PAD_TEXT("B"), nullptr},
    {"x", PAD_TEXT("X"), nullptr},
    {"y", PAD_TEXT("Y"), nullptr},
    {"back", PAD_TEXT("Back"), nullptr},
    {"guide", PAD_TEXT("Guide"), nullptr},
    {"start", PAD_TEXT("Start (Menu)"), nullptr},
    {"leftstick", PAD_TEXT("Left stick pressed"), nullptr},
    {"rightstick", PAD_TEXT("Right stick pressed"), nullptr},
    {"leftshoulder", PAD_TEXT("Left shoulder"), nullptr},
    {"rightshoulder", PAD_TEXT("Right shoulder"), nullptr},
    {"dpup", PAD_TEXT("D-pad up"), nullptr},
    {"dpdown", PAD_TEXT("D-pad down"), nullptr},
    {"dpleft", PAD_TEXT("D-pad left"), nullptr},
    {"dpright", PAD_TEXT("D-pad right"), nullptr},
    {"misc1", PAD_TEXT("Share"), nullptr},
    {"paddle1", PAD_TEXT("Paddle 1"), nullptr},
    {"paddle2", PAD_TEXT("Paddle 2"), nullptr},
    {"paddle3", PAD_TEXT("Paddle 3"), nullptr},
    {"paddle4", PAD_TEXT("Paddle 4"), nullptr},
    {"touchpad", PAD_TEXT("Touchpad"), nullptr},
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
    {"zoom", PAD_TEXT("Zoom"), PAD_TEXT("Zoom tele / wide while pushed, the further the faster"), "lefty"},
    {"focus", PAD_TEXT("Focus"), PAD_TEXT("Focus far / near while pushed, the further the faster"), "righty"},
    {"iris", PAD_TEXT("Iris"), PAD_TEXT("Iris open / close while pushed"), nullptr},
    {"irisOpen", PAD_TEXT("Iris open"), PAD_TEXT("Iris open while held"), "rightshoulder"},
    {"irisClose", PAD_TEXT("Iris close"), PAD_TEXT("Iris close while held"), "leftshoulder"},
    {"zoomPlus", PAD_TEXT("Zoom +"), PAD_TEXT("Zoom +"), "dpup"},
    {"zoomMinus", PAD_TEXT("Zoom −"), PAD_TEXT("Zoom −"), "dpdown"},
    {"focusPlus", PAD_TEXT("Focus +"), PAD_TEXT("Focus +"), "dpright"},
    {"focusMinus", PAD_TEXT("Focus −"), PAD_TEXT("Focus −"), "dpleft"},
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
    {"refresh", PAD_TEXT("Refresh"), PAD_TEXT("Refresh"), "start"},
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
                layout.controls[index] = control;
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
