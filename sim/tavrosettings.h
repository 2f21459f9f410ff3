#ifndef TAVROSETTINGS_H
#define TAVROSETTINGS_H

#include <QString>

#include <array>

// Positions of the three motors kept under one preset number.
struct TavroPreset
{
    int zoom = 0;
    int focus = 0;
    int iris = 0;

    bool operator==(const TavroPreset &other) const
    {
        return zoom == other.zoom && focus == other.focus && iris == other.iris;
    }
};

// What the Tavro board keeps in its memory across power cycles once told to
// store its settings.
struct TavroSettings
{
    int lensType = 1;
    int sensitivityMode = 0;
    bool stallDetectionDisabled = false;
    // Speed levels 0 (low) to 2 (high).
    int zoomSpeed = 1;
    int focusSpeed = 1;
    // Entry i holds preset number i + 1.
    std::array<TavroPreset, 10> presets{};

    // Reads an INI state file; missing or unreadable keys keep their defaults.
    static TavroSettings load(const QString &path);
    // Writes the state file; false when it could not be written.
    bool save(const QString &path) const;
};

#endif // TAVROSETTINGS_H
