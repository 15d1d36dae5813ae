#pragma once

#include <OISKeyboard.h>

#include "input/InputFrame.h"

// Samples one player's six keys once per logic step into that step's input frame. Owned by the
// input system; the shared keyboard is not owned.
class PlayerInputReader {
public:
    PlayerInputReader(OIS::Keyboard* keyboard, bool secondPlayer);

    // Call once per logic step, after the keyboard was captured. The frame is not yet numbered:
    // the fighter's history numbers it when the match takes it.
    InputFrame read();

    // Which of left and right wins when both are held.
    bool leftWinsTie = false;
    // Selects the arrow keys and numpad 1 / 2 instead of W A S D, J and K.
    bool secondPlayer;
    // Each button's state in the previous step, so that only new presses are reported.
    bool heldButtons[2] = {false, false};
    OIS::Keyboard* keyboard;
};
