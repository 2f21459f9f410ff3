#ifndef GAMEPADPOLLER_H
#define GAMEPADPOLLER_H

#include "padlayout.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class GamepadDevices;
class GamepadLibrary;
typedef struct _SDL_GameController SDL_GameController;

// The game controllers, through SDL and for input only: SDL opens no window.
// SDL is loaded and started once a pad may be there, and then stays; until
// then nothing but the watch on the system's devices runs. The first pad
// connected drives; others wait until it goes, and then the first of them
// drives. The driving pad is read every padIntervalMs; while there is none,
// pads are looked for every searchIntervalMs and whenever the devices change.
// Pads SDL does not know by themselves are known by the mapping files (the
// community's gamecontrollerdb.txt format), loaded once SDL starts.
class GamepadPoller : public QObject
{
    Q_OBJECT

public:
    static constexpr int padIntervalMs = 20;
    static constexpr int searchIntervalMs = 500;

    // mappingFiles: those that exist are loaded, each logged.
    explicit GamepadPoller(const QStringList &mappingFiles = {}, QObject *parent = nullptr);
    ~GamepadPoller() override;

    // Looks at the pads now: a pad that went, a pad to take, then the driving
    // pad's controls. The timer calls it.
    void poll();

signals:
    void padConnected(const QString &name);
    void padDisconnected();
    // The driving pad as read, at every poll.
    void padRead(const PadState &state);

private:
    void devicesChanged();
    void start();
    void take(int deviceIndex);
    void drop();
    void loadMappings();

    GamepadDevices *m_devices;
    const QStringList m_mappingFiles;
    // Set once SDL's game controllers have started.
    const GamepadLibrary *m_sdl = nullptr;
    QTimer m_timer;
    SDL_GameController *m_pad = nullptr;
};

#endif // GAMEPADPOLLER_H
