#include "lensprofileinuse.h"

#include "lensprofile.h"
#include "lensunits.h"
#include "operatorreport.h"

#include <QDebug>
#include <QSettings>

namespace {

QString keyOf(BoardType type)
{
    return QStringLiteral("lens/profile/") + LensProfileInUse::boardName(type);
}

} // namespace

LensProfileInUse::LensProfileInUse(QSettings &settings, LensUnits &units)
    : m_settings(settings)
    , m_units(units)
{
}

QString LensProfileInUse::boardName(BoardType type)
{
    switch (type) {
    case BoardType::Tavro:
        return QStringLiteral("tavro");
    case BoardType::Pellan:
        return QStringLiteral("pellan");
    case BoardType::None:
        break;
    }
    return QString();
}

QString LensProfileInUse::path(BoardType type) const
{
    return type == BoardType::None ? QString() : m_settings.value(keyOf(type)).toString();
}

void LensProfileInUse::load(BoardType type)
{
    const QString file = path(type);
    if (file.isEmpty()) {
        m_units.setProfile(std::nullopt);
        return;
    }
    LensProfile::Read read = LensProfile::readFileFor(file, boardName(type));
    m_units.setProfile(std::move(read.profile));
    if (m_units.profile()) {
        qInfo() << "Lens profile:" << file;
        m_told.clear();
    } else if (std::exchange(m_told, file) != file) {
        qCritical() << "Lens profile not used, the window works in counts:" << read.error;
        OperatorReport::show(OperatorReport::Severity::Warning, read.error);
    }
}

void LensProfileInUse::use(BoardType type, const QString &path)
{
    if (type == BoardType::None)
        return;
    m_settings.setValue(keyOf(type), path);
    m_settings.sync();
    if (m_settings.status() != QSettings::NoError)
        qCritical() << "Could not write the settings file: " << m_settings.fileName();
    m_told.clear();
    load(type);
}
