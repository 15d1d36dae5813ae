#pragma once

#include <array>

#include "input/InputFrame.h"
#include "match/MatchState.h"

// What a computer player may know of the match: the states it was shown, one before every step,
// of which it hands out only the one its reaction time old, and the inputs the player gave since.
// The other player's input of a step it has not yet seen never reaches it. Owned by the player.
class DelayedView {
public:
    // More than any level's reaction time.
    static constexpr int capacity = 32;

    explicit DelayedView(int reactionSteps);

    // The match before the step about to run; once per step, before played.
    void observe(const MatchState& now);
    // What this player gives the step about to run.
    void played(const InputFrame& own);

    // The match reactionSteps ago, or the first one shown while fewer steps have been.
    const MatchState& seen() const;
    // The player's own inputs from the seen state up to now, oldest first.
    int ownSinceSeen() const { return current() - seenIndex(); }
    const InputFrame& ownInput(int sinceSeen) const;

private:
    int current() const { return observed - 1; }
    int seenIndex() const;

    int reactionSteps;
    int observed = 0;
    std::array<MatchState, capacity> states{};
    std::array<InputFrame, capacity> inputs{};
};
