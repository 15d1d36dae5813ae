#pragma once

#include <OISKeyboard.h>

#include "input/Bindings.h"
#include "input/HeldControls.h"
#include "input/InputFrame.h"

// Samples one player's controls once per logic step into that step's input frame: the keys
// bound to them, and what the player's game controller holds. Owned by the input system; the
// shared keyboard is not owned.
class PlayerInputReader {
public:
    // The player's keys of the default bindings.
    PlayerInputReader(OIS::Keyboard* keyboard, bool secondPlayer);
    PlayerInputReader(OIS::Keyboard* keyboard, const PlayerBindings& bindings);

    // Call once per logic step, after the keyboard was captured. A control is held when one of
    // its keys is down or the controller holds it. The frame is not yet numbered: the
    // fighter's history numbers it when the match takes it.
    InputFrame read(const HeldControls& controller = {});

    // Which of left and right wins when both are held.
    bool leftWinsTie = false;
    // Each button's state in the previous step, so that only new presses are reported.
    bool heldButtons[2] = {false, false};
    OIS::Keyboard* keyboard;

private:
    bool held(Control::eControl control, const HeldControls& controller) const;

    PlayerBindings bindings;
};
