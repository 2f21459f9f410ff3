#ifndef LIVEPOSITIONS_H
#define LIVEPOSITIONS_H

#include <QObject>

class LensActions;
class QAction;
class QSettings;

// "Live positions while running": while a motor runs, or moves to where it
// was sent, the lens session reads its position several times a second, and
// the window shows it, until the motor stands. The option's state is kept in
// config.ini.
class LivePositions : public QObject
{
    Q_OBJECT

public:
    LivePositions(LensActions &actions, QAction *option, QSettings &settings);
};

#endif // LIVEPOSITIONS_H
