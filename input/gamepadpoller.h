#ifndef GAMEPADPOLLER_H
#define GAMEPADPOLLER_H

#include "padlayout.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

typedef struct _SDL_GameController SDL_GameController;

// The game controllers, through SDL and for input only: SDL opens no window.
// The first pad connected drives; others wait until it goes, and then the
// first of them drives. The driving pad is read every padIntervalMs; while
// there is none, pads are looked for every searchIntervalMs, and nothing else
// runs. Pads SDL does not know by themselves are known by the mapping files
// (the community's gamecontrollerdb.txt format) loaded at start.
class GamepadPoller : public QObject
{
    Q_OBJECT

public:
    static constexpr int padIntervalMs = 20;
    static constexpr int searchIntervalMs = 500;

    // mappingFiles: those that exist are loaded, each logged.
    explicit GamepadPoller(const QStringList &mappingFiles = {}, QObject *parent = nullptr);
    ~GamepadPoller() override;

    // The SDL library the program runs with, such as "SDL 2.26.5".
    static QString library();

    // Looks at the pads now: a pad that went, a pad to take, then the driving
    // pad's controls. The timer calls it.
    void poll();

signals:
    void padConnected(const QString &name);
    void padDisconnected();
    // The driving pad as read, at every poll.
    void padRead(const PadState &state);

private:
    void take(int deviceIndex);
    void drop();
    void loadMappings(const QStringList &files);

    bool m_started = false;
    QTimer m_timer;
    SDL_GameController *m_pad = nullptr;
};

#endif // GAMEPADPOLLER_H
