#pragma once

#include "fighter/PlayerState.h"
#include "match/Match.h"
#include "match/MoveFrameData.h"

class Game;
struct InputFrame;

// Measures a move's frame data by playing it with the real rules on the game's own fighters:
// the left fighter presses the move against the right one standing in reach (once standing
// still, once holding back to block), and the probe watches every step: when the attack can
// land, which hits land, the stun they leave and when each fighter can act again. A fighter
// can act on a step when, at its start, it is not attacking and has at most one step of stun
// left: that step's stun update frees it and its action choice takes the player's input.
// Nothing is typed in, so changed character data shows in the figures. It plays the game's own
// rules, or the versus rules it is given, from a round's first fighting step. Made by whoever
// wants the figures (the program's --frame-data, the tests); the match is left where its last run
// ended.
class FrameDataProbe {
public:
    // How far apart the fighters stand: within reach of both moves.
    static constexpr float distance = 60;

    // The game's fighters must exist.
    explicit FrameDataProbe(Game& game, const MatchRules& rules = MatchRules());

    // HP or Tatsu.
    MoveFrameData measure(PlayerState::Action move);

    static bool canAct(const PlayerState& state) {
        return !state.attacking && state.stunFrames <= 1;
    }

private:
    struct Run;

    Run run(PlayerState::Action move, bool blocking);
    void reset();
    void step(const InputFrame& attacker, bool blocking, int stepNumber);
    int isolatedStun(bool blocking, int hitStep);

    Game& game;
    Match match;
    MatchRules rules;
};
