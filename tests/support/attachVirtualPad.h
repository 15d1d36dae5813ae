#pragma once

#include <SDL2/SDL.h>

// Plugs in a game controller as SDL's virtual joysticks make one: a standard pad with every
// button and axis, which SDL maps as a game controller. Returns its device index, or -1 with
// SDL_GetError() saying why.
inline int attachVirtualPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = "Virtual pad";
    return SDL_JoystickAttachVirtualEx(&desc);
}
