#include "livepositions.h"

#include "lensactions.h"

#include <QAction>
#include <QDebug>
#include <QSettings>

namespace {

const QString kOptionKey = QStringLiteral("view/livePositions");

} // namespace

LivePositions::LivePositions(LensActions &actions, QAction *option, QSettings &settings)
    : m_actions(actions)
    , m_option(option)
    , m_settings(settings)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &LivePositions::readNext);
    m_option->setChecked(m_settings.value(kOptionKey, false).toBool());
    connect(m_option, &QAction::toggled, this, [this](bool on) {
        m_settings.setValue(kOptionKey, on);
        m_settings.sync();
        if (m_settings.status() != QSettings::NoError)
            qCritical() << "Could not write the settings file: " << m_settings.fileName();
        update();
    });
    connect(&m_actions, &LensActions::runsChanged, this, &LivePositions::update);
}

void LivePositions::update()
{
    const qsizetype running = m_actions.runningMotors().size();
    if (!m_option->isChecked() || running == 0)
        m_timer.stop();
    else if (!m_timer.isActive())
        m_timer.start(int(periodMs / running));
}

void LivePositions::readNext()
{
    const QList<LensActions::Motor> running = m_actions.runningMotors();
    if (running.isEmpty())
        return;
    m_turn = (m_turn + 1) % int(running.size());
    m_actions.readLive(running.at(m_turn));
    update();
}
