#include "livepositions.h"

#include "lensactions.h"

#include <QAction>
#include <QDebug>
#include <QSettings>

namespace {

const QString kOptionKey = QStringLiteral("view/livePositions");

} // namespace

LivePositions::LivePositions(LensActions &actions, QAction *option, QSettings &settings)
{
    option->setChecked(settings.value(kOptionKey, false).toBool());
    actions.setLiveReads(option->isChecked());
    connect(option, &QAction::toggled, this, [&actions, &settings](bool on) {
        settings.setValue(kOptionKey, on);
        settings.sync();
        if (settings.status() != QSettings::NoError)
            qCritical() << "Could not write the settings file: " << settings.fileName();
        actions.setLiveReads(on);
    });
}
