#pragma once

#include <functional>

#include "match/MatchTick.h"
#include "match/MatchState.h"
#include "input/StepInput.h"

class Game;

// The match as the rest of the program drives it: one logic step from a StepInput, whatever its
// source, and the whole match saved to and put back from a MatchState. Whoever drives the match
// owns it (the frame updater, a replay, a network session, a test); the Game and both of its
// fighters must exist for as long as it does. It draws nothing: the MatchView shows its state
// before each picture, so a step, a rollback or a state put back all show the same way.
class Match {
public:
    explicit Match(Game& game);

    // Starts the match afresh under these rules. Without versus, nothing but the rules changes:
    // the match is the one the Game set up.
    void start(const MatchRules& rules);

    // One logic step: the program keys, both players' frames, then the match tick; in a versus
    // match the rounds' rules last. Quit skips the keys and the frames, yet the tick still runs.
    // False when the program is to end.
    bool step(const StepInput& input);

    MatchState save() const;
    void restore(const MatchState& state);
    // Whether a state from elsewhere (the network, a file) is one this match can take: the
    // fighters' animations stand where the character data has frames.
    bool fits(const MatchState& state) const;

    const Game& fighters() const { return game; }
    const MatchRules& matchRules() const { return rules; }
    const RoundState& roundState() const { return round; }

    // Called in the step that decides a versus match; a step run again after a rollback calls it
    // again with the same state.
    std::function<void(const RoundState&)> onMatchEnd;

    // F1, F2 and F3 as a step applies them, for a driver that switches the displays while no
    // step runs (a paused training match).
    void applyProgramKeys(const ProgramKeys& keys);

private:
    void startRound();

    Game& game;
    MatchTick tick;
    MatchRules rules;
    RoundState round;
};
