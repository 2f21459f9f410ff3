#include "gamepadpoller.h"

#include <SDL.h>

#include <QDebug>

#include <algorithm>

namespace {

// Where SDL keeps each control: a stick's vertical axis, which SDL counts
// positive downwards, or a button.
struct Source
{
    PadControl control;
    int axis;
    int button;
};

const Source kSources[] = {
    {PadControl::LeftStickY, SDL_CONTROLLER_AXIS_LEFTY, -1},
    {PadControl::RightStickY, SDL_CONTROLLER_AXIS_RIGHTY, -1},
    {PadControl::LeftShoulder, -1, SDL_CONTROLLER_BUTTON_LEFTSHOULDER},
    {PadControl::RightShoulder, -1, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER},
    {PadControl::A, -1, SDL_CONTROLLER_BUTTON_A},
    {PadControl::B, -1, SDL_CONTROLLER_BUTTON_B},
    {PadControl::X, -1, SDL_CONTROLLER_BUTTON_X},
    {PadControl::Y, -1, SDL_CONTROLLER_BUTTON_Y},
    {PadControl::DPadUp, -1, SDL_CONTROLLER_BUTTON_DPAD_UP},
    {PadControl::DPadDown, -1, SDL_CONTROLLER_BUTTON_DPAD_DOWN},
    {PadControl::DPadLeft, -1, SDL_CONTROLLER_BUTTON_DPAD_LEFT},
    {PadControl::DPadRight, -1, SDL_CONTROLLER_BUTTON_DPAD_RIGHT},
    {PadControl::Start, -1, SDL_CONTROLLER_BUTTON_START},
};

} // namespace

GamepadPoller::GamepadPoller(QObject *parent)
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
    PadState state{};
    for (const Source &source : kSources) {
        state[int(source.control)] = source.axis >= 0
            ? std::clamp(-SDL_GameControllerGetAxis(m_pad, SDL_GameControllerAxis(source.axis)) / 32767.0f, -1.0f, 1.0f)
            : SDL_GameControllerGetButton(m_pad, SDL_GameControllerButton(source.button));
    }
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
