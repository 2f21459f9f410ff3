#ifndef LIVEPOSITIONS_H
#define LIVEPOSITIONS_H

#include <QObject>
#include <QTimer>

class LensActions;
class QAction;
class QSettings;

// "Live positions while running": while a motor runs, its position is read
// several times a second and shown, several running motors in turn, until
// its STOP. The reads are quiet (see LensActions::readLive). Nothing is read,
// and no timer runs, while no motor runs or the option is off. The option's
// state is kept in config.ini.
class LivePositions : public QObject
{
    Q_OBJECT

public:
    // Each running motor is read once in this time and the length of a read,
    // or more often.
    static constexpr int periodMs = 125;

    LivePositions(LensActions &actions, QAction *option, QSettings &settings);

private:
    // Starts or stops the reads as motors run and the option says.
    void update();
    void readNext();

    LensActions &m_actions;
    QAction *m_option;
    QSettings &m_settings;
    // Single-shot and started again after each read, so that a slow read is
    // followed by time for the input it held back.
    QTimer m_timer;
    int m_turn = 0;
};

#endif // LIVEPOSITIONS_H
