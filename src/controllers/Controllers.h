#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "controllers/ControllerInput.h"
#include "controllers/PadState.h"
#include "input/Bindings.h"
#include "input/HeldControls.h"

struct _SDL_GameController;
union SDL_Event;

// The game controllers, through SDL's game-controller API started for them alone: the window,
// the keyboard and the drawing stay with the engine and the input library. Controllers come
// and go at any time. The first one connected plays the first player and the next the second;
// one more waits and takes the seat the next unplugged one leaves. Back on a playing
// controller hands it to the other player (the two swap). Polled once per logic step; owned
// by the frame updater; built into the device module. Without SDL the game goes on with the keys
// alone.
class Controllers : public ControllerInput {
public:
    using Log = std::function<void(const std::string&)>;

    Controllers(const Bindings& bindings, Log log);
    ~Controllers() override;

    Controllers(const Controllers&) = delete;
    Controllers& operator=(const Controllers&) = delete;

    void poll() override;
    std::array<HeldControls, 2> held() const override;
    std::array<std::bitset<PadButton::count>, 2> pressed() const override;
    void rebind(const Bindings& changed) override { bindings = changed; }
    std::string playing(int player) const override;

private:
    struct Pad {
        _SDL_GameController* controller = nullptr;
        int id = -1;
        std::string name;
        PadState state;
    };

    void handle(const SDL_Event& event);
    void connect(int deviceIndex);
    void unplug(int id);
    void swapSeats();
    Pad* find(int id);

    Bindings bindings;
    Log log;
    bool started = false;
    // Without a controller, SDL is updated every idleUpdateSteps steps.
    static constexpr int idleUpdateSteps = 15;
    int idleStepsToSkip = 0;
    // Index 0 plays the first player; an empty seat has no controller.
    Pad seats[2];
    std::vector<Pad> waiting;
};
