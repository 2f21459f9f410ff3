#include "gamepadpoller.h"

#include "gamepaddevices.h"
#include "gamepadlibrary.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

GamepadPoller::GamepadPoller(const QStringList &mappingFiles, QObject *parent)
    : QObject(parent)
    , m_devices(new GamepadDevices(this))
    , m_mappingFiles(mappingFiles)
{
    connect(&m_timer, &QTimer::timeout, this, &GamepadPoller::poll);
    connect(m_devices, &GamepadDevices::changed, this, &GamepadPoller::devicesChanged);
    // Once the window is up: SDL does not hold up its first show, and the
    // pad found is announced to what the poller has been connected to since.
    QTimer::singleShot(0, this, &GamepadPoller::devicesChanged);
}

GamepadPoller::~GamepadPoller()
{
    if (!m_sdl)
        return;
    if (m_pad)
        m_sdl->GameControllerClose(m_pad);
    m_sdl->QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void GamepadPoller::poll()
{
    if (!m_sdl)
        return;
    m_sdl->GameControllerUpdate();
    if (m_pad && !m_sdl->GameControllerGetAttached(m_pad))
        drop();
    for (int device = 0; !m_pad && device < m_sdl->NumJoysticks(); ++device) {
        if (m_sdl->IsGameController(device))
            take(device);
    }
    if (!m_pad)
        return;
    // PadState numbers the controls as SDL does.
    static_assert(padAxisCount == SDL_CONTROLLER_AXIS_MAX && padButtonCount == SDL_CONTROLLER_BUTTON_MAX);
    PadState state{};
    for (int axis = 0; axis < padAxisCount; ++axis)
        state[axis] = std::clamp(m_sdl->GameControllerGetAxis(m_pad, SDL_GameControllerAxis(axis)) / 32767.0f, -1.0f, 1.0f);
    for (int button = 0; button < padButtonCount; ++button)
        state[padAxisCount + button] = m_sdl->GameControllerGetButton(m_pad, SDL_GameControllerButton(button));
    emit padRead(state);
}

void GamepadPoller::devicesChanged()
{
    if (!m_sdl && GamepadDevices::mayBePresent())
        start();
    // A pad just plugged in is looked for now, not at the next search; the
    // devices change more than once while the system sets a new one up.
    if (!m_pad)
        poll();
}

void GamepadPoller::start()
{
    const GamepadLibrary *sdl = GamepadLibrary::load();
    if (!sdl) {
        qWarning().noquote() << "No gamepads: SDL2 not found:" << GamepadLibrary::error();
        // Nothing to watch for any more.
        m_devices->deleteLater();
        return;
    }
    // The program has no SDL window, which SDL would otherwise take for one
    // in the background and keep the pads from; and Ctrl+C stays Qt's.
    sdl->SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    sdl->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl->InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        qWarning().noquote() << "No gamepads:" << sdl->GetError();
        m_devices->deleteLater();
        return;
    }
    m_sdl = sdl;
    loadMappings();
    // Pads are read, not listened to: no event queue fills up unread.
    m_sdl->JoystickEventState(SDL_IGNORE);
    m_sdl->GameControllerEventState(SDL_IGNORE);
    m_timer.start(searchIntervalMs);
}

void GamepadPoller::take(int deviceIndex)
{
    m_pad = m_sdl->GameControllerOpen(deviceIndex);
    if (!m_pad)
        return;
    const QString name = QString::fromUtf8(m_sdl->GameControllerName(m_pad));
    qInfo() << "Gamepad connected: " << name;
    m_timer.setInterval(padIntervalMs);
    emit padConnected(name);
}

void GamepadPoller::drop()
{
    m_sdl->GameControllerClose(m_pad);
    m_pad = nullptr;
    qInfo() << "Gamepad disconnected";
    m_timer.setInterval(searchIntervalMs);
    emit padDisconnected();
}

void GamepadPoller::loadMappings()
{
    for (const QString &file : std::as_const(m_mappingFiles)) {
        if (!QFileInfo(file).isFile())
            continue;
        const int added =
            m_sdl->GameControllerAddMappingsFromRW(m_sdl->RWFromFile(QFile::encodeName(file).constData(), "rb"), 1);
        if (added < 0)
            qWarning() << "Gamepad mappings not loaded from" << file << ":" << m_sdl->GetError();
        else
            qInfo() << "Gamepad mappings loaded from" << file << ":" << added;
    }
}
