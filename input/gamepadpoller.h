#ifndef GAMEPADPOLLER_H
#define GAMEPADPOLLER_H

#include <QObject>
#include <QString>
#include <QTimer>

#include <array>

class GamepadDevices;
class GamepadLibrary;
typedef struct _SDL_GameController SDL_GameController;

// The controls of a pad in the standard game controller layout, whatever its
// make: what the window reads of a pad.
enum class PadControl {
    LeftStickY,
    RightStickY,
    LeftShoulder,
    RightShoulder,
    A,
    B,
    X,
    Y,
    DPadUp,
    DPadDown,
    DPadLeft,
    DPadRight,
    Start,
};
constexpr int padControlCount = int(PadControl::Start) + 1;
// Each control as read: a stick from -1 (pushed down all the way) to 1 (up), a
// button 0 or 1.
using PadState = std::array<float, padControlCount>;

// The game controllers, through SDL and for input only: SDL opens no window.
// SDL is loaded and started once a pad may be there, and then stays; until
// then nothing but the watch on the system's devices runs. The first pad
// connected drives; others wait until it goes, and then the first of them
// drives. The driving pad is read every padIntervalMs; while there is none,
// pads are looked for every searchIntervalMs and whenever the devices change.
class GamepadPoller : public QObject
{
    Q_OBJECT

public:
    static constexpr int padIntervalMs = 20;
    static constexpr int searchIntervalMs = 500;

    explicit GamepadPoller(QObject *parent = nullptr);
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

    GamepadDevices *m_devices;
    // Set once SDL's game controllers have started.
    const GamepadLibrary *m_sdl = nullptr;
    QTimer m_timer;
    SDL_GameController *m_pad = nullptr;
};

#endif // GAMEPADPOLLER_H
