#pragma once

#include <array>
#include <bitset>
#include <chrono>
#include <string>

#include "input/HeldControls.h"
#include "input/PadButton.h"

// Where the mouse pointer is over the game's window and what its left button does.
struct MenuPointer {
    // In the window's pixels from its top-left corner; meaningful while inside.
    float x = 0;
    float y = 0;
    bool inside = false;
    // Held, or pressed at any moment since the step before.
    bool button = false;
};

// One step of what drives the menus, from every source at once: the keyboard as the input
// system latches it, the text typed on it, both players' game controllers as their controls,
// and the mouse. Made once a step by whoever runs the menus; the menu layer reads it.
struct MenuInput {
    // The keys down this step (held, or pressed since the step before), by the input library's
    // key codes.
    std::bitset<256> keys;
    // The text typed since the step before, UTF-8.
    std::string typed;
    // What each player's controller holds: its d-pad (or stick) and buttons as the player's
    // controls, so the punch button confirms and the kick button goes back.
    std::array<HeldControls, 2> pads;
    // The buttons each player's controller pressed this step, by SDL's numbers.
    std::array<std::bitset<PadButton::count>, 2> padButtons;
    MenuPointer pointer;
    // When the step's input was sampled: a held direction repeats by this clock, not by steps.
    std::chrono::steady_clock::time_point time;
};
