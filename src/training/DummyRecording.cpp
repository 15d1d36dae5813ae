#include "training/DummyRecording.h"

bool DummyRecording::record(const InputFrame& frame, bool facingLeft) {
    if (size() == maxSteps)
        return false;
    InputFrame relative = frame;
    relative.direction = frame.relativeDirection(facingLeft);
    relative.frameNumber = 0;
    frames.push_back(relative);
    return true;
}

// Mirroring is its own inverse: the relative direction turned by the facing is absolute again.
InputFrame DummyRecording::frameAt(int step, bool facingLeft) const {
    InputFrame frame = frames[static_cast<std::size_t>(step % size())];
    frame.direction = frame.relativeDirection(facingLeft);
    return frame;
}
