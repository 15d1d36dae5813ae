#pragma once

#include <bitset>

#include "input/PadButton.h"

// What one game controller does in one logic step: its buttons held now, the buttons pressed
// since the step before (so a press released again before the step still counts once), and
// its left stick, each axis from -32768 to 32767 with y growing downwards as SDL gives it.
struct PadState {
    std::bitset<PadButton::count> held;
    std::bitset<PadButton::count> pressed;
    int stickX = 0;
    int stickY = 0;
};
