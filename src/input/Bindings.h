#pragma once

#include <vector>

#include <OISKeyboard.h>

#include "input/Control.h"
#include "input/PadButton.h"
#include "input/Rebinding.h"

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

    // From now on the key alone holds the player's control, the control's other keys let go.
    // The key of another control of the same player is swapped: that control takes this one's
    // old keys. The other player's key is refused with a word, unless takeFromOtherPlayer,
    // when it is swapped the same way and the word tells. A program key (Escape, F1 to F12), a
    // key no player may bind, or a swap that would leave a control with no key or button is
    // refused with a word. No key is ever bound twice.
    Rebinding rebindKey(int player, Control::eControl control, OIS::KeyCode key,
                        bool takeFromOtherPlayer = false);
    // The same for a button of the player's own controller: only that player's controls can
    // hold it, and Back and Guide are refused.
    Rebinding rebindButton(int player, Control::eControl control, PadButton::ePadButton button);
};
