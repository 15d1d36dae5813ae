#include "controllers/Controllers.h"

#include <SDL2/SDL.h>

#include "controllers/padControls.h"

namespace {

static_assert(int{PadButton::DpadRight} == int{SDL_CONTROLLER_BUTTON_DPAD_RIGHT} &&
                  int{PadButton::LeftShoulder} == int{SDL_CONTROLLER_BUTTON_LEFTSHOULDER} &&
                  int{PadButton::Back} == int{SDL_CONTROLLER_BUTTON_BACK},
              "the pad's buttons are numbered as SDL numbers them");

std::string playerName(int seat) {
    return "player " + std::to_string(seat + 1);
}

} // namespace

Controllers::Controllers(const Bindings& bindings, Log log)
    : bindings(bindings), log(std::move(log)) {
    // SDL's handlers would take SIGINT and SIGTERM from the game's own.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // There is no SDL window to have the focus: the game's window has it.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // A is the bottom face button and B the right one on every pad, whatever their labels.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        this->log(std::string("Game controllers are not available: ") + SDL_GetError());
        return;
    }
    started = true;
    // Only buttons, the left stick and connections matter.
    for (Uint32 type : {SDL_JOYBALLMOTION, SDL_CONTROLLERSENSORUPDATE, SDL_CONTROLLERTOUCHPADDOWN,
                        SDL_CONTROLLERTOUCHPADMOTION, SDL_CONTROLLERTOUCHPADUP})
        SDL_EventState(type, SDL_IGNORE);
}

Controllers::~Controllers() {
    if (!started)
        return;
    for (Pad& pad : seats) {
        if (pad.controller)
            SDL_GameControllerClose(pad.controller);
    }
    for (Pad& pad : waiting)
        SDL_GameControllerClose(pad.controller);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Controllers::poll() {
    if (!started)
        return;
    // SDL's look for new devices costs two system calls a step: with no controller to read,
    // looking four times a second is soon enough.
    const bool anyOpen = seats[0].controller || seats[1].controller || !waiting.empty();
    if (!anyOpen && idleStepsToSkip-- > 0)
        return;
    idleStepsToSkip = idleUpdateSteps - 1;
    for (Pad& pad : seats)
        pad.state.pressed.reset();
    for (Pad& pad : waiting)
        pad.state.pressed.reset();
    SDL_JoystickUpdate();
    SDL_Event events[32];
    int count;
    while ((count = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_CONTROLLERAXISMOTION,
                                   SDL_CONTROLLERDEVICEREMAPPED)) > 0) {
        for (int i = 0; i < count; ++i)
            handle(events[i]);
    }
    // The joystick events the controller events were made from.
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

std::array<std::bitset<PadButton::count>, 2> Controllers::pressed() const {
    std::array<std::bitset<PadButton::count>, 2> buttons;
    for (int seat = 0; seat < 2; ++seat)
        if (seats[seat].controller)
            buttons[seat] = seats[seat].state.pressed;
    return buttons;
}

std::array<HeldControls, 2> Controllers::held() const {
    std::array<HeldControls, 2> held;
    for (int seat = 0; seat < 2; ++seat) {
        if (seats[seat].controller)
            held[seat] = padControls(seats[seat].state, bindings.players[seat]);
    }
    return held;
}

std::string Controllers::playing(int player) const {
    return seats[player].name;
}

void Controllers::handle(const SDL_Event& event) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        return connect(event.cdevice.which);
    case SDL_CONTROLLERDEVICEREMOVED:
        return unplug(event.cdevice.which);
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        Pad* pad = find(event.cbutton.which);
        const int button = event.cbutton.button;
        if (!pad || button >= PadButton::count)
            return;
        const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
        pad->state.held[button] = down;
        if (down)
            pad->state.pressed[button] = true;
        if (down && button == PadButton::Back && pad->controller &&
            (pad == &seats[0] || pad == &seats[1]))
            swapSeats();
        return;
    }
    case SDL_CONTROLLERAXISMOTION: {
        Pad* pad = find(event.caxis.which);
        if (!pad)
            return;
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
            pad->state.stickX = event.caxis.value;
        else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
            pad->state.stickY = event.caxis.value;
        return;
    }
    }
}

// The state it has when it comes, so a button held while it is plugged in counts at once.
void Controllers::connect(int deviceIndex) {
    if (find(SDL_JoystickGetDeviceInstanceID(deviceIndex)))
        return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) {
        log(std::string("Game controller not usable: ") + SDL_GetError());
        return;
    }
    Pad pad;
    pad.controller = controller;
    pad.id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    const char* name = SDL_GameControllerName(controller);
    pad.name = name ? name : "unnamed";
    for (int button = 0; button < PadButton::count; ++button)
        pad.state.held[button] =
            SDL_GameControllerGetButton(controller,
                                        static_cast<SDL_GameControllerButton>(button)) != 0;
    pad.state.stickX = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    pad.state.stickY = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
    for (int seat = 0; seat < 2; ++seat) {
        if (!seats[seat].controller) {
            log("Game controller '" + pad.name + "' plays " + playerName(seat));
            seats[seat] = std::move(pad);
            return;
        }
    }
    log("Game controller '" + pad.name + "' waits: both players have one");
    waiting.push_back(std::move(pad));
}

void Controllers::unplug(int id) {
    for (auto pad = waiting.begin(); pad != waiting.end(); ++pad) {
        if (pad->id == id) {
            SDL_GameControllerClose(pad->controller);
            waiting.erase(pad);
            return;
        }
    }
    for (int seat = 0; seat < 2; ++seat) {
        if (seats[seat].id != id)
            continue;
        SDL_GameControllerClose(seats[seat].controller);
        log("Game controller '" + seats[seat].name + "' of " + playerName(seat) +
            " was unplugged: " + playerName(seat) + " plays on with the keys");
        seats[seat] = Pad();
        if (waiting.empty())
            return;
        seats[seat] = std::move(waiting.front());
        waiting.erase(waiting.begin());
        log("Game controller '" + seats[seat].name + "' plays " + playerName(seat));
        return;
    }
}

void Controllers::swapSeats() {
    std::swap(seats[0], seats[1]);
    for (int seat = 0; seat < 2; ++seat) {
        if (seats[seat].controller)
            log("Game controller '" + seats[seat].name + "' plays " + playerName(seat));
    }
}

Controllers::Pad* Controllers::find(int id) {
    for (Pad& pad : seats) {
        if (pad.controller && pad.id == id)
            return &pad;
    }
    for (Pad& pad : waiting) {
        if (pad.id == id)
            return &pad;
    }
    return nullptr;
}
