#pragma once

// Turns rendered frames of any length into whole logic steps of 1/60 s. Single precision on
// purpose: the step count of every frame is part of the game's behaviour, so it must not
// depend on the compiler's choice of wider intermediates.
struct FixedStepAccumulator {
    static constexpr float stepLength = 1.0f / 60.0f;

    float accumulator = 0.0f;

    // Runs step() once per whole step length in the accumulated time. A step that answers false
    // ends the frame at once; the steps not yet run are dropped, the remainder is kept. There is
    // no cap: a long frame is caught up step by step.
    template <typename Step> bool advance(float elapsedSeconds, Step&& step) {
        accumulator += elapsedSeconds;
        while (accumulator >= stepLength) {
            accumulator -= stepLength;
            if (!step())
                return false;
        }
        return true;
    }
};
