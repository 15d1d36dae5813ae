#pragma once

#include <chrono>

// One pass of the frame loop in time, as the loop measured it: when it woke and when it was
// due to, its logic steps, and, when it drew, the picture's drawing and swap. The overlay's
// figures are made of these, and the input-lag benchmark matches them with the presses it
// makes.
struct FramePass {
    using Time = std::chrono::steady_clock::time_point;

    // The pass was due at `due` and began at `woke`; its steps (and the watchers' work around
    // them) were done at `stepped`.
    Time due;
    Time woke;
    Time stepped;
    // Logic steps run in the pass, their time all told and the longest of them, in seconds.
    int steps = 0;
    double stepSeconds = 0;
    double worstStepSeconds = 0;
    // When a picture was drawn: its commands were queued at `drawn` and the swap that hands it
    // to the display returned at `swapped`.
    bool pictured = false;
    Time drawn;
    Time swapped;
};
