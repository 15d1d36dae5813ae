#pragma once

// Where a frame animation track stands: everything about a track that playing it changes. The
// segments themselves never change, so a saved position and the track's segments give back the
// track as it was.
struct TrackPosition {
    int currentFrame = 0;
    int segmentIndex = 0;
    int segmentFrame = 0;
    bool finished = false;
};
