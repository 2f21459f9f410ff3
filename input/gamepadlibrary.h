#ifndef GAMEPADLIBRARY_H
#define GAMEPADLIBRARY_H

// For SDL's types and constants only: the program does not link SDL, it loads
// it when a pad may be there.
#include <SDL.h>

#include <QString>

// The SDL functions the pads are read with, each named once here; a member
// of the same name without the SDL_ prefix calls it.
#define TAVRO_SDL_FUNCTIONS(F)                                                                                         \
    F(SetHint)                                                                                                         \
    F(InitSubSystem)                                                                                                   \
    F(QuitSubSystem)                                                                                                   \
    F(GetError)                                                                                                        \
    F(GetVersion)                                                                                                      \
    F(NumJoysticks)                                                                                                    \
    F(JoystickEventState)                                                                                              \
    F(IsGameController)                                                                                                \
    F(GameControllerEventState)                                                                                        \
    F(GameControllerUpdate)                                                                                            \
    F(GameControllerOpen)                                                                                              \
    F(GameControllerClose)                                                                                             \
    F(GameControllerName)                                                                                              \
    F(GameControllerGetAttached)                                                                                       \
    F(GameControllerGetAxis)                                                                                           \
    F(GameControllerGetButton)                                                                                         \
    F(GameControllerAddMappingsFromRW)                                                                                 \
    F(RWFromFile)

// SDL2, loaded at run time: on a machine without it the program runs as
// before, with no pad. Found by the name its runtime package installs
// (libSDL2-2.0.so.0, SDL2.dll beside the program, libSDL2-2.0.0.dylib), so
// that the development package is not needed, and a process that has SDL
// loaded already gets that same copy.
class GamepadLibrary
{
public:
    // SDL, loaded and its functions resolved at the first call; nullptr where
    // it is missing or lacks one of them, and then error() says why. It stays
    // loaded: SDL is not made to be unloaded from a running process.
    static const GamepadLibrary *load();
    static QString error();

    // "SDL 2.26.5": the library loaded, not the headers built against.
    QString version() const;

#define TAVRO_SDL_MEMBER(name) decltype(&SDL_##name) name = nullptr;
    TAVRO_SDL_FUNCTIONS(TAVRO_SDL_MEMBER)
#undef TAVRO_SDL_MEMBER
};

#endif // GAMEPADLIBRARY_H
