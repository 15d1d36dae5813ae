#pragma once

#include <utility>
#include <vector>

// A move's frame data as measured by running it: counts of logic steps, the step of the press
// counted as 1. The probe fills it, the table prints it.
struct MoveFrameData {
    // One hit that landed on the defender standing (or blocking) in front of the attacker.
    struct Hit {
        // The step whose hit test landed it.
        int step = 0;
        int damage = 0;
        // Steps after the hit step on which this hit alone keeps the defender from acting.
        int stun = 0;
        // (steps from the hit step until the defender can act) - (the same for the attacker),
        // later hits of the same move included: positive when the attacker acts first.
        int advantage = 0;
    };

    // The first step on which the attack can land.
    int startup = 0;
    // Steps on which the attack can land, and their runs as first and last step.
    int active = 0;
    std::vector<std::pair<int, int>> activeWindows;
    // Steps after the last active one until the attacker can act again.
    int recovery = 0;
    // Steps from the press until the attacker can act again.
    int total = 0;
    std::vector<Hit> onHit;
    std::vector<Hit> onBlock;
};
