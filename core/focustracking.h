#ifndef FOCUSTRACKING_H
#define FOCUSTRACKING_H

#include <QObject>

class LensActions;
class QAction;
class QSettings;

// Lens ▸ "Keep focus while zooming": while on, the lens session keeps the
// focus on the distance it holds as the zoom moves, for every move the
// window makes. Kept in config.ini as lens/trackFocus. It needs a profile in
// use with a focus curve: without one it is refused, told of and unchecked,
// and so is a profile in use that changes to one without.
class FocusTracking : public QObject
{
    Q_OBJECT

public:
    FocusTracking(LensActions &actions, QAction *option, QSettings &settings);
};

#endif // FOCUSTRACKING_H
