#include "gamepadpoller.h"

#include <SDL.h>

#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

GamepadPoller::GamepadPoller(const QStringList &mappingFiles, QObject *parent)
    : QObject(parent)
{
    // The program has no SDL window, which SDL would otherwise take for one
    // in the background and keep the pads from; and Ctrl+C stays Qt's.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        qWarning() << "No gamepads: " << SDL_GetError();
        return;
    }
    m_started = true;
    loadMappings(mappingFiles);
    // Pads are read, not listened to: no event queue fills up unread.
    SDL_JoystickEventState(SDL_IGNORE);
    SDL_GameControllerEventState(SDL_IGNORE);
    connect(&m_timer, &QTimer::timeout, this, &GamepadPoller::poll);
    m_timer.start(searchIntervalMs);
}

GamepadPoller::~GamepadPoller()
{
    if (!m_started)
        return;
    if (m_pad)
        SDL_GameControllerClose(m_pad);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

QString GamepadPoller::library()
{
    SDL_version version;
    SDL_GetVersion(&version);
    return QStringLiteral("SDL %1.%2.%3").arg(version.major).arg(version.minor).arg(version.patch);
}

void GamepadPoller::poll()
{
    if (!m_started)
        return;
    SDL_GameControllerUpdate();
    if (m_pad && !SDL_GameControllerGetAttached(m_pad))
        drop();
    for (int device = 0; !m_pad && device < SDL_NumJoysticks(); ++device) {
        if (SDL_IsGameController(device))
            take(device);
    }
    if (!m_pad)
        return;
    // PadState numbers the controls as SDL does.
    static_assert(padAxisCount == SDL_CONTROLLER_AXIS_MAX && padButtonCount == SDL_CONTROLLER_BUTTON_MAX);
    PadState state{};
    for (int axis = 0; axis < padAxisCount; ++axis)
        state[axis] = std::clamp(SDL_GameControllerGetAxis(m_pad, SDL_GameControllerAxis(axis)) / 32767.0f, -1.0f, 1.0f);
    for (int button = 0; button < padButtonCount; ++button)
        state[padAxisCount + button] = SDL_GameControllerGetButton(m_pad, SDL_GameControllerButton(button));
    emit padRead(state);
}

void GamepadPoller::take(int deviceIndex)
{
    m_pad = SDL_GameControllerOpen(deviceIndex);
    if (!m_pad)
        return;
    const QString name = QString::fromUtf8(SDL_GameControllerName(m_pad));
    qInfo() << "Gamepad connected: " << name;
    m_timer.setInterval(padIntervalMs);
    emit padConnected(name);
}

void GamepadPoller::drop()
{
    SDL_GameControllerClose(m_pad);
    m_pad = nullptr;
    qInfo() << "Gamepad disconnected";
    m_timer.setInterval(searchIntervalMs);
    emit padDisconnected();
}

void GamepadPoller::loadMappings(const QStringList &files)
{
    for (const QString &file : files) {
        if (!QFileInfo(file).isFile())
            continue;
        const int added = SDL_GameControllerAddMappingsFromRW(SDL_RWFromFile(QFile::encodeName(file).constData(), "rb"), 1);
        if (added < 0)
            qWarning() << "Gamepad mappings not loaded from" << file << ":" << SDL_GetError();
        else
            qInfo() << "Gamepad mappings loaded from" << file << ":" << added;
    }
}
