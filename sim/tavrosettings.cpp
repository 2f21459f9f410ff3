#include "tavrosettings.h"

#include <QSettings>

#include <climits>

namespace {

// Out-of-range values in a hand-edited file fall back to the default rather
// than giving the board a state it could never reach through its frames.
int readInt(const QSettings &file, const QString &key, int fallback, int minimum, int maximum)
{
    bool ok = false;
    const int value = file.value(key, fallback).toInt(&ok);
    return ok && value >= minimum && value <= maximum ? value : fallback;
}

QString presetKey(int index, const char *motor)
{
    return QStringLiteral("preset%1/%2").arg(index + 1).arg(QLatin1String(motor));
}

} // namespace

TavroSettings TavroSettings::load(const QString &path)
{
    TavroSettings settings;
    const QSettings file(path, QSettings::IniFormat);
    settings.lensType = readInt(file, QStringLiteral("lensType"), settings.lensType, 0, 255);
    settings.sensitivityMode = readInt(file, QStringLiteral("sensitivityMode"), 0, 0, 1);
    settings.stallDetectionDisabled =
        readInt(file, QStringLiteral("stallDetectionDisabled"), 0, 0, 1) != 0;
    settings.zoomSpeed = readInt(file, QStringLiteral("zoomSpeed"), settings.zoomSpeed, 0, 2);
    settings.focusSpeed = readInt(file, QStringLiteral("focusSpeed"), settings.focusSpeed, 0, 2);
    for (int i = 0; i < int(settings.presets.size()); ++i) {
        TavroPreset &preset = settings.presets[size_t(i)];
        preset.zoom = readInt(file, presetKey(i, "zoom"), 0, 0, INT_MAX);
        preset.focus = readInt(file, presetKey(i, "focus"), 0, 0, INT_MAX);
        preset.iris = readInt(file, presetKey(i, "iris"), 0, 0, INT_MAX);
    }
    return settings;
}

bool TavroSettings::save(const QString &path) const
{
    QSettings file(path, QSettings::IniFormat);
    file.setValue(QStringLiteral("lensType"), lensType);
    file.setValue(QStringLiteral("sensitivityMode"), sensitivityMode);
    file.setValue(QStringLiteral("stallDetectionDisabled"), stallDetectionDisabled ? 1 : 0);
    file.setValue(QStringLiteral("zoomSpeed"), zoomSpeed);
    file.setValue(QStringLiteral("focusSpeed"), focusSpeed);
    for (int i = 0; i < int(presets.size()); ++i) {
        const TavroPreset &preset = presets[size_t(i)];
        file.setValue(presetKey(i, "zoom"), preset.zoom);
        file.setValue(presetKey(i, "focus"), preset.focus);
        file.setValue(presetKey(i, "iris"), preset.iris);
    }
    file.sync();
    return file.status() == QSettings::NoError;
}
