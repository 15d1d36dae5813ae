#pragma once

#include <array>
#include <bitset>
#include <string>

#include "input/Bindings.h"
#include "input/HeldControls.h"
#include "input/PadButton.h"

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
    // The buttons each player's controller pressed since the step before, for the settings
    // screen that binds the next one pressed.
    virtual std::array<std::bitset<PadButton::count>, 2> pressed() const = 0;
    // The players' buttons from now on.
    virtual void rebind(const Bindings& bindings) = 0;
    // The name of the controller playing a player; empty when the player has none.
    virtual std::string playing(int player) const = 0;
};
