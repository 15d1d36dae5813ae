#pragma once

#include <array>

#include "sound/SoundCue.h"

// The cues of one step, in a fixed space: finding them allocates nothing. A step has at most
// one attack, one landed hit and one knockout per fighter and two announcer calls.
struct StepCues {
    static constexpr int capacity = 8;

    std::array<SoundCue, capacity> cues{};
    int count = 0;

    void add(SoundCue::Sound sound, int side) {
        if (count < capacity)
            cues[static_cast<std::size_t>(count++)] = SoundCue{sound, side};
    }
    const SoundCue* begin() const { return cues.data(); }
    const SoundCue* end() const { return cues.data() + count; }
};
