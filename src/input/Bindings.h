#pragma once

#include <vector>

#include <OISKeyboard.h>

#include "input/Control.h"
#include "input/PadButton.h"

// One player's keys and controller buttons, per control; any one of them held holds the
// control. The stick of the player's controller always steers as well.
struct PlayerBindings {
    std::vector<OIS::KeyCode> keys[Control::count];
    std::vector<PadButton::ePadButton> buttons[Control::count];
};

// Both players' bindings: players[0] the left fighter's, players[1] the right one's.
struct Bindings {
    PlayerBindings players[2];

    // W A S D, J and K for the first player, the arrows and numpad 1 and 2 for the second; on
    // either player's controller the d-pad, A (bottom) to punch and B (right) to kick.
    static Bindings defaults();
};
