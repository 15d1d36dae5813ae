#pragma once

#include "anim/TrackPosition.h"

// Where a fighter's copy of an action's animation stands: the position of each of its four
// tracks and which of them the last step moved to a new segment. With the action it was copied
// from, this is the whole running animation as a plain value.
struct FrameAnimPosition {
    static constexpr int trackCount = 4;

    TrackPosition tracks[trackCount];
    bool changed[trackCount] = {false, false, false, false};
};
