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
    for (bool pressed : frame.pressed) {
        if (!pressed)
            continue;
        ++stats.presses;
        stepsSincePress = 0;
        recentPresses.push_back(step);
    }
    while (!recentPresses.empty() && step - recentPresses.front() >= stepsPerSecond)
        recentPresses.pop_front();
    stats.mostPressesPerSecond =
        std::max(stats.mostPressesPerSecond, static_cast<int>(recentPresses.size()));
}
