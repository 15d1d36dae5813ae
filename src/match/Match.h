#pragma once

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

    // One logic step: the program keys, both players' frames, then the match tick. Quit skips
    // the keys and the frames, yet the tick still runs. False when the program is to end.
    bool step(const StepInput& input);

    MatchState save() const;
    // Puts the state back and leaves the screen alone: for re-simulation.
    void restore(const MatchState& state);
    // Puts the state back and shows it as a straight run to it would.
    void load(const MatchState& state);

    // While held, steps change the state only; syncDisplays then shows where they led.
    void holdDisplays(bool held);
    bool displaysHeld() const { return held; }
    void syncDisplays();

    // F1, F2 and F3 as a step applies them, for a driver that switches the displays while no
    // step runs (a paused training match).
    void applyProgramKeys(const ProgramKeys& keys);

private:

    Game& game;
    MatchTick tick;
    bool held = false;
};
