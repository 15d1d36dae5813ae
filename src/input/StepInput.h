#pragma once

#include "input/InputFrame.h"
#include "input/ProgramKeys.h"

// All that one logic step of the match consumes, whatever its source: the keyboard, a replay
// file or the network. players[0] drives the left fighter ("Player1"), players[1] the right.
struct StepInput {
    InputFrame players[2];
    ProgramKeys keys;
};
