#include "match/Match.h"

#include "fighter/Player.h"
#include "match/Game.h"
#include "match/MatchStateCodec.h"
#include "match/Rounds.h"
#include "match/Stage.h"
#include "match/roundCaptions.h"
#include "render/Hud.h"
#include "render/comboCaption.h"

Match::Match(Game& game) : game(game) {}

void Match::start(const MatchRules& rules) {
    this->rules = rules;
    if (!rules.versus)
        return;
    round = Rounds::start(rules);
    startRound();
    if (!held)
        showRound();
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
    if (!held)
        showRound();
    if (next == Rounds::Next::MatchEnds && onMatchEnd)
        onMatchEnd(round);
    return !input.keys.quit;
}

// Both fighters at their start places, full health, idle, facing each other, with empty input
// histories; whether their boxes are shown stays as it is. Under fair rules the start places
// are mirrored about the stage's centre.
void Match::startRound() {
    Player* players[2] = {game.player1.get(), game.player2.get()};
    for (int side = 0; side < 2; ++side) {
        FighterState start;
        start.state.position = rules.playsFair() ? Ogre::Vector2(Stage::startX(side), 0)
                                                 : Player::startPosition(side == 1);
        start.state.facingLeft = side == 1;
        start.hitboxesShown = players[side]->hitboxesShown;
        players[side]->restore(start);
        if (!held)
            players[side]->syncDisplay();
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
    if (game.hud) {
        state.panels[0] = game.hud->getInputDataDisplay(0)->panel;
        state.panels[1] = game.hud->getInputDataDisplay(1)->panel;
    }
    state.rules = rules;
    state.round = round;
    return state;
}

void Match::restore(const MatchState& state) {
    game.player1->restore(state.fighters[0]);
    game.player2->restore(state.fighters[1]);
    if (game.hud) {
        game.hud->getInputDataDisplay(0)->panel = state.panels[0];
        game.hud->getInputDataDisplay(1)->panel = state.panels[1];
    }
    rules = state.rules;
    round = state.round;
}

bool Match::fits(const MatchState& state) const {
    return MatchStateCodec::fits(state, *game.characterData);
}

void Match::load(const MatchState& state) {
    restore(state);
    syncDisplays();
}

void Match::holdDisplays(bool held) {
    this->held = held;
    game.player1->setDisplayHeld(held);
    game.player2->setDisplayHeld(held);
    if (!game.hud)
        return;
    game.hud->getInputDataDisplay(0)->setHeld(held);
    game.hud->getInputDataDisplay(1)->setHeld(held);
}

void Match::syncDisplays() {
    game.player1->syncDisplay();
    game.player2->syncDisplay();
    if (!game.hud)
        return;
    game.hud->getInputDataDisplay(0)->refresh();
    game.hud->getInputDataDisplay(1)->refresh();
    showRound();
}

// At equal x the first fighter faces right, as in the tick.
void Match::showFacingEachOther() {
    const bool firstFacesLeft = game.player2->state.position.x < game.player1->state.position.x;
    game.player1->showFacing(firstFacesLeft);
    game.player2->showFacing(!firstFacesLeft);
}

void Match::showRound() {
    if (!game.hud)
        return;
    // The combo a fighter takes is the other player's.
    const ComboState& dealt1 = game.player2->state.combo;
    const ComboState& dealt2 = game.player1->state.combo;
    const std::array<int, 11> shown = {
        rules.versus, clockSeconds(round), round.wins[0], round.wins[1], round.phase,  round.ending,
        round.winner, dealt1.hits,         dealt1.damage, dealt2.hits,   dealt2.damage};
    if (shown == shownRound)
        return;
    shownRound = shown;
    RoundDisplay::Captions captions = roundCaptions(rules, round);
    captions.combos[0] = comboCaption(dealt1);
    captions.combos[1] = comboCaption(dealt2);
    game.hud->getRoundDisplay()->show(captions);
}
