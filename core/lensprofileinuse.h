#ifndef LENSPROFILEINUSE_H
#define LENSPROFILEINUSE_H

#include "boardtype.h"

#include <QString>

class LensUnits;
class QSettings;

// The lens profile the window converts with: one file per board type, named
// in config.ini (lens/profile/tavro, lens/profile/pellan).
class LensProfileInUse
{
public:
    LensProfileInUse(QSettings &settings, LensUnits &units);

    // "tavro", "pellan", as a profile's board key names them; empty for none.
    static QString boardName(BoardType type);
    QString path(BoardType type) const;
    // Gives the window's units the profile config.ini names for type, or
    // none. A file missing or broken is told once, in a box and a log line,
    // and the window goes on in counts.
    void load(BoardType type);
    // path becomes type's profile in config.ini, and is loaded.
    void use(BoardType type, const QString &path);

private:
    QSettings &m_settings;
    LensUnits &m_units;
    // The file last told of as unusable: told again only once another has
    // been loaded or told of.
    QString m_told;
};

#endif // LENSPROFILEINUSE_H
