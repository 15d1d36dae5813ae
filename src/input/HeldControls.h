#pragma once

#include "input/Control.h"

// Which of a player's controls a game controller holds in one logic step, indexed by
// Control::eControl: held at the step, or pressed at any moment since the step before. The
// player's key reader adds them to the keys.
struct HeldControls {
    bool held[Control::count] = {};
};
