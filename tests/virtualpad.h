#ifndef VIRTUALPAD_H
#define VIRTUALPAD_H

#include <SDL.h>

// A pad in the standard game controller layout that lives in this process:
// SDL gives it a game controller mapping of its own, joystick button and axis
// numbers being SDL's controller button and axis numbers. SDL must be started
// (a window's poller does that), and it takes the pad along when it stops.
inline SDL_Joystick *plugVirtualPad(const char *name)
{
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = name;
    SDL_Joystick *pad = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
    // Its triggers rest, as a pad's do: the bottom of the joystick axis.
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_JOYSTICK_AXIS_MIN);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MIN);
    return pad;
}

// A stick pushed up by percent of its travel (down for less than 0).
inline void pushStick(SDL_Joystick *pad, SDL_GameControllerAxis axis, int percent)
{
    SDL_JoystickSetVirtualAxis(pad, axis, Sint16(-percent * 32767 / 100));
}

// A stick pushed right (left for less than 0), or a trigger pulled, by percent of its travel.
inline void pushAxis(SDL_Joystick *pad, SDL_GameControllerAxis axis, int percent)
{
    const bool trigger = axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
    SDL_JoystickSetVirtualAxis(pad, axis, Sint16(trigger ? SDL_JOYSTICK_AXIS_MIN + percent * 65535 / 100 : percent * 32767 / 100));
}

#endif // VIRTUALPAD_H
