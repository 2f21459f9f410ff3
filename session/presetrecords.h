#ifndef PRESETRECORDS_H
#define PRESETRECORDS_H

#include "boardtype.h"

#include <QString>

#include <array>
#include <optional>

// Where each preset put the motors when this program stored it, kept in the
// per-user settings store that the window, the tool and the server share: a
// Tavro board cannot be asked where its presets lie, and a timed or followed
// recall must know where it goes before it sets off.
class PresetRecords
{
public:
    using Positions = std::array<std::optional<int>, 3>;

    PresetRecords(BoardType board, const QString &port);

    void record(int preset, const Positions &positions);
    // Nothing when this board's preset was never stored here.
    std::optional<Positions> positions(int preset) const;

private:
    QString key(int preset) const;

    QString m_group;
};

#endif // PRESETRECORDS_H
