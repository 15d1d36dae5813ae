#pragma once

#include "controllers/PadState.h"
#include "input/Bindings.h"
#include "input/HeldControls.h"

// The stick's distance from the centre under which it is at rest: worn sticks do not return
// exactly to the centre.
constexpr int stickDeadZone = 8000;

// The left stick as a direction: at rest inside the dead zone, otherwise one of eight sectors
// of 45 degrees centred on the four directions and the four diagonals. h is +1 for right, v is
// +1 for up (the stick's y grows downwards).
struct StickDirection {
    int h = 0;
    int v = 0;
};
StickDirection stickDirection(int x, int y);

// The controls a controller holds for a player with these bindings: the buttons bound to each
// control, held or pressed since the step before, and the stick for the four directions.
HeldControls padControls(const PadState& pad, const PlayerBindings& bindings);
