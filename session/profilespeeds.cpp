#include "profilespeeds.h"

#include "lensprofile.h"

#include <QSaveFile>

ProfileSpeeds::Written ProfileSpeeds::write(const QString &path, const LensProfileData &profile,
                                            const std::array<std::vector<double>, lensAxisCount> &speeds)
{
    LensProfileData data = profile;
    data.speeds = speeds;
    const LensProfile::Read checked = LensProfile::check(data, path);
    if (!checked.profile)
        return {Written::Kind::Invalid, checked.error};
    const QByteArray json = data.toJson();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit())
        return {Written::Kind::Unwritable, file.errorString()};
    return {};
}
