#include "focustracking.h"

#include "lensactions.h"

#include <QAction>
#include <QDebug>
#include <QSettings>

namespace {

const QString kOptionKey = QStringLiteral("lens/trackFocus");

void keep(QSettings &settings, bool on)
{
    settings.setValue(kOptionKey, on);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qCritical() << "Could not write the settings file: " << settings.fileName();
}

} // namespace

FocusTracking::FocusTracking(LensActions &actions, QAction *option, QSettings &settings)
{
    // Refused: the action shows, and the file keeps, that the focus does
    // not follow.
    connect(&actions, &LensActions::trackingEnded, this, [option] { option->setChecked(false); });
    connect(option, &QAction::toggled, this, [&actions, &settings, option](bool on) {
        actions.setTracking(on);
        keep(settings, option->isChecked());
    });
    option->setChecked(settings.value(kOptionKey, false).toBool());
}
