#include "cpu/FeelMeter.h"

#include <algorithm>

void FeelMeter::record(const InputFrame& frame, bool exempt) {
    const long long step = stats.steps++;
    if (frame.direction != last) {
        ++stats.directionChanges;
        if (held < minHoldSteps && !exempt && step > 0)
            ++stats.shortHolds;
        last = frame.direction;
        held = 0;
    }
    ++held;
    ++stepsSincePress;
    for (bool pressed : frame.pressed)
        if (pressed)
            recordPress(step);
    while (!recentPresses.empty() && step - recentPresses.front() >= stepsPerSecond)
        recentPresses.pop_front();
    stats.mostPressesPerSecond =
        std::max(stats.mostPressesPerSecond, static_cast<int>(recentPresses.size()));
}

void FeelMeter::recordPress(long long step) {
    ++stats.presses;
    if (stats.presses > 1) {
        sameGaps = stepsSincePress == gap ? sameGaps + 1 : 1;
        gap = stepsSincePress;
        stats.longestSameGapRun = std::max(stats.longestSameGapRun, sameGaps);
    }
    stepsSincePress = 0;
    recentPresses.push_back(step);
}
