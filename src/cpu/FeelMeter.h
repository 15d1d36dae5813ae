#pragma once

#include <deque>

#include "cpu/CpuStats.h"
#include "input/InputFrame.h"

// Counts how a computer player holds its controls, step by step, into its CpuStats. Owned by
// the player.
class FeelMeter {
public:
    static constexpr int minHoldSteps = 4;
    static constexpr int stepsPerSecond = 60;

    // exempt: the frame enters the motion or blocks, where a quick change is a person's too.
    void record(const InputFrame& frame, bool exempt);
    // Steps the current direction has been held, this one included.
    int heldSteps() const { return held; }
    Direction::eDirection direction() const { return last; }
    // Steps since the last press; large before the first.
    int sinceLastPress() const { return stepsSincePress; }
    // The steps between the last two presses, and how many presses in a row came that many
    // steps after the one before (0 before the second press).
    int lastGap() const { return gap; }
    int sameGapRun() const { return sameGaps; }

    CpuStats stats;

private:
    void recordPress(long long step);

    Direction::eDirection last = Direction::Neutral;
    int held = 0;
    int stepsSincePress = 1 << 20;
    int gap = 0;
    int sameGaps = 0;
    // The steps of the presses in the last second.
    std::deque<long long> recentPresses;
};
