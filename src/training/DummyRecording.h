#pragma once

#include <vector>

#include "input/InputFrame.h"

// The second player's keys as the dummy repeats them, kept relative to the fighter's facing
// (forward and back, not left and right): a recording made on one side plays the same moves,
// motion commands included, after the sides have switched. At most maxSteps steps. Owned by
// the training driver; not part of the match.
class DummyRecording {
public:
    static constexpr int maxSteps = 600;

    void clear() { frames.clear(); }
    // Keeps only the first steps: what a rewind took back is not kept.
    void truncate(int steps) {
        if (steps < size())
            frames.resize(static_cast<std::size_t>(steps));
    }
    // False once full: the frame is not kept.
    bool record(const InputFrame& frame, bool facingLeft);
    bool empty() const { return frames.empty(); }
    int size() const { return static_cast<int>(frames.size()); }

    // The frame at a step of the playback, which loops, turned to the fighter's facing now.
    InputFrame frameAt(int step, bool facingLeft) const;

private:
    std::vector<InputFrame> frames;
};
