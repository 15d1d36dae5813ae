#pragma once

#include "input/InputFrame.h"

// One row of an input panel: the input it shows and the count of frames seen when it came.
struct InputPanelRow {
    InputFrame frame;
    int count = 0;
};

// What one player's input panel holds, as a plain value: shown or not, its rows (newest first)
// and the counters they are made from. Part of the match state, so a match restored to an
// earlier step shows the panel of that step.
struct InputPanelState {
    static constexpr int maxRows = 15;

    bool visible = false;
    // The last input seen, at rest or not, so a held input adds no second row.
    InputFrame lastFrame;
    int visibleFrameCount = 0;
    InputPanelRow rows[maxRows];
    int rowCount = 0;
};
