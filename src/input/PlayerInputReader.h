#pragma once

#include <OISKeyboard.h>

class InputHistory;

// Samples one player's six keys once per logic step and pushes the resulting input frame into
// that player's fighter's history. Owned by the input system; the history and the shared
// keyboard are not owned.
class PlayerInputReader {
public:
    PlayerInputReader(InputHistory* history, OIS::Keyboard* keyboard, bool secondPlayer);

    // Call once per logic step, after the keyboard was captured.
    void update();

    InputHistory* history;
    // Which of left and right wins when both are held.
    bool leftWinsTie = false;
    // Selects the arrow keys and numpad 1 / 2 instead of W A S D, J and K.
    bool secondPlayer;
    // Each button's state in the previous step, so that only new presses are reported.
    bool heldButtons[2] = {false, false};
    OIS::Keyboard* keyboard;
};
