#ifndef LENSUNITLABELS_H
#define LENSUNITLABELS_H

#include <QObject>

#include <array>

class LensUnits;
class QLabel;

// Each motor's position in the lens's units beside its field, and the
// horizontal angle of view, for as long as the positions shown change; empty
// where the profile in use has no answer.
class LensUnitLabels : public QObject
{
    Q_OBJECT

public:
    // motors: zoom, focus, iris.
    LensUnitLabels(const LensUnits &units, const std::array<QLabel *, 3> &motors, QLabel *angle);

private:
    void update();

    const LensUnits &m_units;
    std::array<QLabel *, 3> m_motors;
    QLabel *m_angle;
};

#endif // LENSUNITLABELS_H
