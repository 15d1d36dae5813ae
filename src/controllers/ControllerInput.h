#pragma once

#include <array>
#include <string>

#include "input/HeldControls.h"

// What a logic step reads of the game controllers. Controllers is the one through SDL, made in
// the device module; the frame updater owns it.
class ControllerInput {
public:
    virtual ~ControllerInput() = default;

    // Takes what happened since the step before: controllers connected and unplugged,
    // buttons and the sticks.
    virtual void poll() = 0;
    // What each player's controller holds this step; nothing for a player without one.
    virtual std::array<HeldControls, 2> held() const = 0;
    // The name of the controller playing a player; empty when the player has none.
    virtual std::string playing(int player) const = 0;
};
