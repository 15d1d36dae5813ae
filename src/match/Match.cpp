#include "match/Match.h"

#include "fighter/Player.h"
#include "match/Game.h"
#include "match/MatchStateCodec.h"
#include "match/Rounds.h"
#include "match/Stage.h"

Match::Match(Game& game) : game(game), tick(game) {}

void Match::start(const MatchRules& rules) {
    this->rules = rules;
    if (!rules.versus)
        return;
    round = Rounds::start(rules);
    startRound();
}

bool Match::step(const StepInput& input) {
    if (!input.keys.quit) {
        applyProgramKeys(input.keys);
        const StepInput admitted = rules.versus ? Rounds::admit(round, input) : input;
        game.player1->history.push(admitted.players[0]);
        game.player2->history.push(admitted.players[1]);
    }
    tick.tick(rules, round);
    if (!rules.versus)
        return !input.keys.quit;

    const Rounds::Next next = Rounds::endOfStep(round, rules, game.player1->state.health,
                                                game.player2->state.health);
    if (next == Rounds::Next::StartRound)
        startRound();
    if (next == Rounds::Next::MatchEnds && onMatchEnd)
        onMatchEnd(round);
    return !input.keys.quit;
}

// Under fair rules the start places are mirrored about the stage's centre.
void Match::startRound() {
    game.projectiles = {};
    game.grab = {};
    for (int side = 0; side < 2; ++side) {
        Player& player = game.fighter(side);
        const float x =
            rules.playsFair() ? Stage::startX(side) : Player::startPosition(side == 1).x;
        player.restore(player.startAt(x, side == 1));
    }
}

// In this order, so F1 held with F2 or F3 leaves those displays on.
void Match::applyProgramKeys(const ProgramKeys& keys) {
    if (keys.hideDebugDisplays)
        game.hideDebugDisplays();
    if (keys.showInputPanels)
        game.showInputPanels();
    if (keys.showHitboxes)
        game.showHitboxes();
}

MatchState Match::save() const {
    MatchState state;
    game.player1->save(state.fighters[0]);
    game.player2->save(state.fighters[1]);
    state.panels[0] = game.panels[0].panel;
    state.panels[1] = game.panels[1].panel;
    state.rules = rules;
    state.round = round;
    state.projectiles = game.projectiles;
    state.grab = game.grab;
    return state;
}

void Match::restore(const MatchState& state) {
    game.player1->restore(state.fighters[0]);
    game.player2->restore(state.fighters[1]);
    game.panels[0].panel = state.panels[0];
    game.panels[1].panel = state.panels[1];
    rules = state.rules;
    round = state.round;
    game.projectiles = state.projectiles;
    game.grab = state.grab;
}

bool Match::fits(const MatchState& state) const {
    return MatchStateCodec::fits(state, *game.characters[0], *game.characters[1]);
}
