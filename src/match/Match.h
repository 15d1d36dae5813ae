#pragma once

#include <array>
#include <functional>

#include "match/MatchTick.h"
#include "match/MatchState.h"
#include "input/StepInput.h"

class Game;

// The match as the rest of the program drives it: one logic step from a StepInput, whatever its
// source, and the whole match saved to and put back from a MatchState. Whoever drives the match
// owns it (the frame updater, a replay, a network session, a test); the Game and both of its
// fighters must exist for as long as it does.
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
    // Puts the state back and leaves the screen alone: for re-simulation.
    void restore(const MatchState& state);
    // Puts the state back and shows it as a straight run to it would.
    void load(const MatchState& state);
    // Whether a state from elsewhere (the network, a file) is one this match can take: the
    // fighters' animations stand where the character data has frames.
    bool fits(const MatchState& state) const;

    // While held, steps change the state only; syncDisplays then shows where they led.
    void holdDisplays(bool held);
    bool displaysHeld() const { return held; }
    void syncDisplays();
    // Shows both fighters facing each other, as the end of a step turns them, without changing
    // the state: the match's start has both facing right until its first step.
    void showFacingEachOther();

    const RoundState& roundState() const { return round; }

    // Called in the step that decides a versus match; a step run again after a rollback calls it
    // again with the same state.
    std::function<void(const RoundState&)> onMatchEnd;

    // F1, F2 and F3 as a step applies them, for a driver that switches the displays while no
    // step runs (a paused training match).
    void applyProgramKeys(const ProgramKeys& keys);

private:
    void startRound();
    void showRound();

    Game& game;
    MatchTick tick;
    MatchRules rules;
    RoundState round;
    bool held = false;
    // What the round captions were last made from, so a step that changes none of it (nearly
    // every step) makes no text.
    std::array<int, 11> shownRound{};
};
