#ifndef LENSUNITS_H
#define LENSUNITS_H

#include "lensaxis.h"
#include "lensprofile.h"

#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <optional>

class QLocale;

// The positions the window shows, in the lens's own units: the profile in
// use (none: the window works in counts) and where each motor was last
// shown, in the board's counts. A focus distance depends on the zoom
// position shown with it.
class LensUnits : public QObject
{
    Q_OBJECT

public:
    explicit LensUnits(QObject *parent = nullptr);

    void setProfile(std::optional<LensProfile> profile);
    // Null for none; shared with the lens session, which keeps the moves to
    // its limits.
    const std::shared_ptr<const LensProfile> &profile() const { return m_profile; }

    void setPosition(LensAxis axis, int counts);
    std::optional<int> position(LensAxis axis) const { return m_positions[size_t(axis)]; }
    // The zoom position focus distances are taken at: the one shown, or any
    // for a profile with a single curve.
    std::optional<int> focusZoom() const;

    // The motor's position shown, in its unit: mm, m (infinity too) or the
    // f-number; empty without a profile or a table, or where it is unknown.
    std::optional<double> value(LensAxis axis) const;
    std::optional<double> horizontalFovDeg() const;
    // "35.2 mm", "2.50 m", "∞", "f/4.0".
    static QString text(LensAxis axis, double value, const QLocale &locale);

    // Where a value with a unit takes the motor, or why it goes nowhere.
    struct Target
    {
        std::optional<int> position;
        QString problem;
    };
    Target target(LensAxis axis, const LensValue &value) const;

signals:
    // The profile or a position shown changed.
    void changed();
    void profileChanged();

private:
    std::shared_ptr<const LensProfile> m_profile;
    std::array<std::optional<int>, lensAxisCount> m_positions;
};

#endif // LENSUNITS_H
